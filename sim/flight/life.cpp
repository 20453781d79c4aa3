// Cell board: a 10 x 10 Game of Life, its boards and its rules.
#include "sim/flight/life.h"

#include <cstdio>
#include <cstdlib>

#include "common/random.h"

int lifeOn;
unsigned char* lifeBufferA;
unsigned char* lifeBufferB;
unsigned char* lifeCells;
unsigned char* lifeNext;
void* (*lifeAllocate)(size_t bytes);

const int LIFE_CELLS = LIFE_SIZE * LIFE_SIZE;
// Single-precision 1/32767: turns a draw of NextRandom into 0..1.
const float RANDOM_SCALE = 3.0518509e-5f;
const float START_ALIVE_SHARE = 0.2f;

static bool AllocateBoards()
{
    if (!lifeBufferA)
        lifeBufferA = (unsigned char*)lifeAllocate(LIFE_CELLS);
    if (!lifeBufferB)
        lifeBufferB = (unsigned char*)lifeAllocate(LIFE_CELLS);
    return lifeBufferA && lifeBufferB;
}

// Refills board A at random with exactly 100 draws (column outer, row inner)
// so the rest of the world's random sequence does not depend on the board.
// Without memory for both boards it says so and switches the board off.
void StartLife()
{
    if (!AllocateBoards()) {
        printf("Cell board: out of memory, board stays off.\n");
        lifeOn = 0;
        lifeCells = nullptr;
        lifeNext = nullptr;
        return;
    }
    for (int i = 0; i < LIFE_SIZE; i++)
        for (int j = 0; j < LIFE_SIZE; j++) {
            float r = (float)NextRandom() * RANDOM_SCALE;
            lifeBufferA[i + LIFE_SIZE * j] = r < START_ALIVE_SHARE ? CELL_ALIVE : CELL_DEAD;
        }
    lifeCells = lifeBufferA;
    lifeNext = lifeBufferB;
}

static int LiveNeighbours(const unsigned char* cells, int i, int j)
{
    int n = 0;
    for (int x = i - 1; x <= i + 1; x++)
        for (int y = j - 1; y <= j + 1; y++) {
            if (x == i && y == j)
                continue;
            // Nothing wraps: cells beyond the edge count as dead.
            if (x < 0 || x >= LIFE_SIZE || y < 0 || y >= LIFE_SIZE)
                continue;
            if (cells[x + LIFE_SIZE * y] == CELL_ALIVE)
                n++;
        }
    return n;
}

// One generation from lifeCells into lifeNext, then the two swap. Does
// nothing before the board has been started.
void StepLife()
{
    if (!lifeCells || !lifeNext)
        return;
    for (int i = 0; i < LIFE_SIZE; i++)
        for (int j = 0; j < LIFE_SIZE; j++) {
            int n = LiveNeighbours(lifeCells, i, j);
            bool alive = lifeCells[i + LIFE_SIZE * j] == CELL_ALIVE;
            bool next = n == 3 || (alive && n == 2);
            lifeNext[i + LIFE_SIZE * j] = next ? CELL_ALIVE : CELL_DEAD;
        }
    unsigned char* swap = lifeCells;
    lifeCells = lifeNext;
    lifeNext = swap;
}

void FreeLife()
{
    if (lifeBufferA)
        free(lifeBufferA);
    if (lifeBufferB)
        free(lifeBufferB);
    lifeBufferA = nullptr;
    lifeBufferB = nullptr;
    lifeCells = nullptr;
    lifeNext = nullptr;
}

void ResetLifeState()
{
    FreeLife();
    lifeOn = 0;
    lifeAllocate = malloc;
}
