// The cell board: a 10 x 10 Game of Life, stepped once a second by the
// shell's timer and drawn standing in the world. A cell is alive when its
// byte is 0 and dead when it is 1.
#pragma once

#include <cstddef>

const int LIFE_SIZE = 10;
const unsigned char CELL_ALIVE = 0;
const unsigned char CELL_DEAD = 1;

extern int lifeOn; // shown and stepped
extern unsigned char* lifeBufferA;
extern unsigned char* lifeBufferB;
extern unsigned char* lifeCells; // the current board
extern unsigned char* lifeNext;  // where the next generation is written
// How the boards get their memory (malloc); tests swap in a failing one.
extern void* (*lifeAllocate)(size_t bytes);

// Allocates the boards on first use and fills one at random with exactly 100
// draws; without memory it says so and switches the board off.
void StartLife();
// One generation; nothing before the board has been started.
void StepLife();
// Releases both boards.
void FreeLife();
// No board, hidden, the usual allocator: the start state.
void ResetLifeState();
