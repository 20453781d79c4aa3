// The pilot's keyboard and mouse, at the top of the program: the key table,
// the arrow keys and the camera drags change the aircraft, the game states,
// the view switches and the camera below. The GLUT callbacks are thin
// wrappers around functions that change state only, so the table is
// exercised without a window.
#pragma once

extern int fogMode;     // 0 off, 1 exponential, 2 exponential squared, 3 linear
extern int spotLightOn; // light 3 and local-viewer lighting
extern int dragMode;    // what a mouse drag does, chosen at the button press
extern int lastMouseX;  // -1 while no button is held
extern int lastMouseY;

const float THRUST_MAX = 100.0f;

// What a key leaves for its callback to do beyond the state it changed.
enum KeyEffect {
    KEY_DONE,         // nothing more than the redisplay
    KEY_FOG_DENSITY,  // hand fogDensity to GL (and a second redisplay)
    KEY_FOG_MODE,     // apply fogMode to GL
    KEY_TEXTURES,     // apply texturesOn to GL
    KEY_SPOT_LIGHT,   // apply spotLightOn to GL
    KEY_QUIT,         // release the cell boards and end with status 0
};

// One character key of the pilot's table (case-sensitive): changes the global
// state and prints the key's console line; calls no GL and never exits.
KeyEffect PilotKey(unsigned char key);
// The GL side of a key's effect; needs a current GL context.
void ApplyKeyEffect(KeyEffect effect);
// What every way out of the game does before the program ends: the
// recording finished, the cell boards released.
void FinishGame();
// FinishGame, then the program ends with status 0.
[[noreturn]] void QuitGame();
// An arrow key turns the plane by one degree; F9 switches the sound off and
// on with its console line; other special keys do nothing.
void PilotSpecialKey(int key);
// Button press chooses the drag mode from the view and button; release ends the drag.
void PressMouse(int button, int state, int x, int y);
// Moves the camera, chase distance or overhead height by the drag since the last event.
void DragMouse(int x, int y);
// PilotKey and PilotSpecialKey as live play runs them: the recorder sees
// the key before it acts, and a restart it answered after.
KeyEffect RecordedPilotKey(unsigned char key);
void RecordedPilotSpecialKey(int key);
// Fog off, spot light off, no drag: the start state.
void ResetControlsState();

// GLUT callbacks: the functions above, then a redisplay request.
void Keyboard(unsigned char key, int x, int y);
// The window's keys (F11, F12: WindowKey), then the arrows.
void SpecialKeys(int key, int x, int y);
void MouseButton(int button, int state, int x, int y);
void MouseMotion(int x, int y);
