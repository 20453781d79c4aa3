// The cell board: a 10 x 10 Game of Life shown standing in the world.
// A cell is alive when its byte is 0 and dead when it is 1.
#pragma once

#include <cstddef>

const int LIFE_SIZE = 10;

extern int lifeOn;
extern unsigned char* lifeBufferA;
extern unsigned char* lifeBufferB;
extern unsigned char* lifeCells; // the current board
extern unsigned char* lifeNext;  // where the next generation is written
// How the boards get their memory (malloc); tests swap in a failing one.
extern void* (*lifeAllocate)(size_t bytes);

void StartLife();
void StepLife();
void DrawLifeBoard();
void FreeLife();
// GLUT timer (value 3): a generation while shown, re-arm after 1000 ms, redisplay.
void LifeTick(int value);
