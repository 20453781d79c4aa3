// The cell board: random start, the rules of a generation, the edges, and
// running out of memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "common/random.h"
#include "sim/flight/life.h"
#include "sim/render/life_board.h"

// A board drawn as text: row j is line j, column i is character i; '#' alive.
static std::string BoardText(const unsigned char* cells)
{
    std::string text;
    for (int j = 0; j < LIFE_SIZE; j++) {
        for (int i = 0; i < LIFE_SIZE; i++)
            text += cells[i + LIFE_SIZE * j] == 0 ? '#' : '.';
        text += '\n';
    }
    return text;
}

// Starts the board (allocating it) and replaces the cells by the given live ones.
static void SetBoard(std::initializer_list<std::pair<int, int>> alive)
{
    StartLife();
    ASSERT_NE(lifeCells, nullptr);
    for (int k = 0; k < LIFE_SIZE * LIFE_SIZE; k++)
        lifeCells[k] = 1;
    for (auto [i, j] : alive)
        lifeCells[i + LIFE_SIZE * j] = 0;
}

static std::string TextOf(std::initializer_list<std::pair<int, int>> alive)
{
    unsigned char cells[LIFE_SIZE * LIFE_SIZE];
    for (unsigned char& c : cells)
        c = 1;
    for (auto [i, j] : alive)
        cells[i + LIFE_SIZE * j] = 0;
    return BoardText(cells);
}

TEST(Life, StartTakesExactly100DrawsColumnOuterRowInner)
{
    StartLife();
    ASSERT_NE(lifeBufferA, nullptr);
    ASSERT_NE(lifeBufferB, nullptr);
    EXPECT_EQ(lifeCells, lifeBufferA);
    EXPECT_EQ(lifeNext, lifeBufferB);

    // Replay the generator from its start state 1.
    uint32_t state = 1;
    int alive = 0;
    for (int i = 0; i < LIFE_SIZE; i++)
        for (int j = 0; j < LIFE_SIZE; j++) {
            state = state * 214013u + 2531011u;
            int draw = (int)((state >> 16) & 0x7FFF);
            unsigned char want = draw <= 6553 ? 0 : 1;
            EXPECT_EQ(lifeCells[i + LIFE_SIZE * j], want) << "cell " << i << "," << j;
            alive += want == 0;
        }
    EXPECT_GT(alive, 0);
    state = state * 214013u + 2531011u;
    EXPECT_EQ(NextRandom(), (int)((state >> 16) & 0x7FFF));
    FreeLife();
}

TEST(Life, RestartRefillsBoardAAndKeepsTheBuffers)
{
    StartLife();
    unsigned char* a = lifeBufferA;
    unsigned char* b = lifeBufferB;
    StepLife();
    EXPECT_EQ(lifeCells, b);
    StartLife();
    EXPECT_EQ(lifeBufferA, a);
    EXPECT_EQ(lifeBufferB, b);
    EXPECT_EQ(lifeCells, a);
    EXPECT_EQ(lifeNext, b);
    FreeLife();
}

struct Pattern {
    const char* name;
    std::initializer_list<std::pair<int, int>> before;
    std::initializer_list<std::pair<int, int>> after;
};

TEST(Life, PatternsStepByTheRulesWithoutWrapping)
{
    const Pattern patterns[] = {
        {"empty stays empty", {}, {}},
        {"block is still", {{4, 4}, {5, 4}, {4, 5}, {5, 5}}, {{4, 4}, {5, 4}, {4, 5}, {5, 5}}},
        {"blinker turns", {{3, 5}, {4, 5}, {5, 5}}, {{4, 4}, {4, 5}, {4, 6}}},
        {"lone cell dies", {{7, 2}}, {}},
        // Corner block: only three neighbours each inside the board.
        {"corner block is still", {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        // A blinker lying on the bottom edge loses the cells that would lie
        // beyond it instead of reappearing on the top edge.
        {"edge blinker is cut", {{4, 0}, {5, 0}, {6, 0}}, {{5, 0}, {5, 1}}},
        // Across the left/right seam: with wrapping these would be neighbours.
        {"no wrap sideways", {{0, 5}, {9, 4}, {9, 5}, {9, 6}}, {{8, 5}, {9, 5}}},
        {"overcrowded centre dies", {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {5, 5}},
         {{4, 4}, {6, 4}, {4, 5}, {6, 5}, {5, 3}}},
    };
    for (const Pattern& p : patterns) {
        SetBoard(p.before);
        StepLife();
        EXPECT_EQ(BoardText(lifeCells), TextOf(p.after)) << p.name;
    }
    FreeLife();
}

TEST(Life, BlinkerReturnsAfterTwoGenerationsAndBuffersSwap)
{
    SetBoard({{3, 5}, {4, 5}, {5, 5}});
    unsigned char* first = lifeCells;
    StepLife();
    EXPECT_NE(lifeCells, first);
    EXPECT_EQ(lifeNext, first);
    StepLife();
    EXPECT_EQ(lifeCells, first);
    EXPECT_EQ(BoardText(lifeCells), TextOf({{3, 5}, {4, 5}, {5, 5}}));
    FreeLife();
}

TEST(Life, StepAndFreeBeforeAnyStartDoNothing)
{
    StepLife();
    EXPECT_EQ(lifeCells, nullptr);
    FreeLife();
    FreeLife();
    EXPECT_EQ(lifeBufferA, nullptr);
}

static void* NoMemory(size_t)
{
    return nullptr;
}

TEST(Life, NoMemoryLeavesTheBoardOffWithOneLine)
{
    lifeAllocate = NoMemory;
    lifeOn = 1; // the key switches the board on, then starts it
    testing::internal::CaptureStdout();
    StartLife();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(lifeOn, 0);
    EXPECT_EQ(lifeCells, nullptr);
    EXPECT_EQ(out, "Cell board: out of memory, board stays off.\n");
    StepLife(); // a tick after the failure must not touch the missing board
    FreeLife();
}

static int allocations = 0;
static void* SecondFails(size_t bytes)
{
    return ++allocations == 2 ? nullptr : malloc(bytes);
}

TEST(Life, SecondBoardMissingKeepsTheBoardOffAndAStartLaterWorks)
{
    lifeAllocate = SecondFails;
    lifeOn = 1;
    testing::internal::CaptureStdout();
    StartLife();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(lifeOn, 0);
    EXPECT_EQ(lifeCells, nullptr);
    DrawLifeBoard(); // no GL call is reached without a board

    // Memory back: the next L allocates only the missing board.
    lifeOn = 1;
    StartLife();
    EXPECT_EQ(lifeOn, 1);
    EXPECT_NE(lifeCells, nullptr);
    EXPECT_EQ(allocations, 3);
    FreeLife();
}
