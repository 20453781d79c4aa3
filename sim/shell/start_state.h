// The start state of the whole simulator, put together from the reset of each
// file that owns global state, so that every start value is written once.
#pragma once

// Every global of the simulator and the shared random generator back to the
// values of a program start; no GL. The entry calls it first, and the tests
// before every case.
void ResetSimulation();
