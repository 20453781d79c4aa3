// The pilot's keyboard and mouse at the toolkit: the GLUT callbacks. A flight
// key (FlightKey) or an arrow goes into the next live step's record; a key
// that only changes what is shown acts at once through the pilot's key table
// (PilotKey, sim/shell/pilot_keys.h), then its GL side here; a replay takes
// its keys first. The mouse drags move the camera below.
#pragma once

#include "sim/shell/pilot_keys.h"

extern int dragMode;    // what a mouse drag does, chosen at the button press
extern int lastMouseX;  // -1 while no button is held
extern int lastMouseY;

// The GL side of a key's effect; needs a current GL context.
void ApplyKeyEffect(KeyEffect effect);
// Button press chooses the drag mode from the view and button; release ends the drag.
void PressMouse(int button, int state, int x, int y);
// Moves the camera, chase distance or overhead height by the drag since the last event.
void DragMouse(int x, int y);
// A character key as the keyboard callback takes it: the replay's keys, a
// flight key into the next step, or a display key at once with its GL side.
// True when the frame must be asked for twice (the fog density's).
bool TakeKey(unsigned char key);
// A special key as its callback takes it: the window's (F11, F12), F9 the
// sound, in every mode; an arrow into the next live step, none in a replay.
void TakeSpecialKey(int key);
// No drag: the start state.
void ResetControlsState();

// GLUT callbacks: the functions above, then a redisplay request.
void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);
void MouseButton(int button, int state, int x, int y);
void MouseMotion(int x, int y);
