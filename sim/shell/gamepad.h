// The game controller at the program's edge: every SDL call of the simulator.
// SDL reads the device only; GLUT stays the window and the loop.
#pragma once

#include "sim/shell/pad_mapping.h"

// The device's values at the last step; all zero with no device.
extern PadInput padInput;

// Starts SDL's joystick and game-controller support, with no signal handlers
// of its own (Ctrl+C ends the game as before). Returns false, after one line
// on standard error, when SDL cannot; the keyboard then flies alone.
bool StartGamepad();
// Before every live step, once StartGamepad succeeded: takes up a device
// plugged in, lets go of one pulled out (its inputs back to neutral), then
// maps the device's values into the step's record. Nothing without SDL or a
// device.
void ReadGamepad(PilotInput& record);
// Lets go of the device and SDL's joystick side (the sound's device keeps
// its own): at the game's end.
void StopGamepad();
// The device's values at neutral: the start state.
void ResetPadState();
