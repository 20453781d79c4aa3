// The cell board: a 10 x 10 Game of Life shown standing in the world.
// A cell is alive when its byte is 0 and dead when it is 1.
#pragma once

#include <cstddef>

#include "sim/shell/tick_schedule.h"

const int LIFE_SIZE = 10;
const int LIFE_PERIOD_MS = 1000;
const int LIFE_TIMER_VALUE = 3;

extern int lifeOn;
extern TickSchedule lifeSchedule;
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
// Starts the schedule (first generation 1000 ms from now) and arms the timer.
void StartLifeTimer();
// GLUT timer (value 3): a generation for each one due while shown, re-arm, redisplay.
void LifeTick(int value);
