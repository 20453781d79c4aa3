// The pilot's keyboard and mouse.
#pragma once

extern int fogMode;     // 0 off, 1 exponential, 2 exponential squared, 3 linear
extern int spotLightOn; // light 3 and local-viewer lighting
extern int dragMode;    // what a mouse drag does, chosen at the button press
extern int lastMouseX;  // -1 while no button is held
extern int lastMouseY;

void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);
void MouseButton(int button, int state, int x, int y);
void MouseMotion(int x, int y);
