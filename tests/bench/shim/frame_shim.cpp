// Preloaded into the real simulator by the frame harness and the end-to-end
// tests, which may not change the program: timestamps each frame (from its
// glClear to the return of its swap) and each run of the simulation step's
// and the day clock's timers with the count of steps and ticks run so far,
// and can stretch the explosion timer so that a frame of it can be caught.
//
//   PELORIN_FRAME_LOG=FILE      appends "C ns", "S ns", "T ns steps" and
//                               "K ns ticks" lines (frame start, swap done,
//                               step timer run, clock timer run); the
//                               counts are read from the program's exported
//                               schedules, so a run that catches up on
//                               several steps is counted right;
//                               and once each "W ns" (window created) and
//                               "M ns" (main loop entered), which split the
//                               start-up time, and "B ns" before each swap
//                               (drawing issued; the swap then rasterises
//                               and presents); ns is CLOCK_REALTIME in
//                               nanoseconds. After the first swap, one
//                               "R version | renderer" line names the GL
//                               implementation the figures were taken on.
//   PELORIN_EXPLOSION_MS=N      every explosion frame waits N ms instead
#include <GL/gl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "shim_common.h"
#include "sim/shell/tick_schedule.h"

const int CLOCK_TIMER_VALUE = 1;     // ClockTick's timer value
const int STEP_TIMER_VALUE = 2;      // FlightTick's timer value
const int EXPLOSION_TIMER_VALUE = 4; // ExplosionTick's timer value

static int logFile = -2; // -2: not opened yet, -1: no log wanted

// count < 0: a line with the time alone.
static void Log(char kind, long long count = -1)
{
    if (logFile == -2)
        logFile = OpenLog("PELORIN_FRAME_LOG");
    if (logFile < 0)
        return;
    char line[64];
    int n = count < 0 ? snprintf(line, sizeof line, "%c %lld\n", kind, ClockNs(CLOCK_REALTIME))
                      : snprintf(line, sizeof line, "%c %lld %lld\n", kind, ClockNs(CLOCK_REALTIME), count);
    if (write(logFile, line, (size_t)n) < 0)
        logFile = -1;
}

extern "C" void glClear(GLbitfield mask)
{
    static auto real = Next<void (*)(GLbitfield)>("glClear");
    Log('C');
    real(mask);
}

// The GL strings, read through the program's own GL library (the shim does
// not link one) once a context is certainly current.
static void LogRenderer()
{
    if (logFile < 0)
        return;
    auto getString = (const GLubyte* (*)(GLenum))dlsym(RTLD_DEFAULT, "glGetString");
    if (!getString)
        return;
    const GLubyte* version = getString(GL_VERSION);
    const GLubyte* renderer = getString(GL_RENDERER);
    char line[512];
    int n = snprintf(line, sizeof line, "R %s | %s\n", version ? (const char*)version : "?",
                     renderer ? (const char*)renderer : "?");
    if (n > (int)sizeof line - 1) {
        n = (int)sizeof line - 1;
        line[n - 1] = '\n';
    }
    if (n > 0 && write(logFile, line, (size_t)n) < 0)
        logFile = -1;
}

extern "C" void glutSwapBuffers()
{
    static auto real = Next<void (*)()>("glutSwapBuffers");
    static bool rendererLogged = false;
    Log('B');
    real();
    Log('S');
    if (!rendererLogged) {
        rendererLogged = true;
        LogRenderer();
    }
}

extern "C" int glutCreateWindow(const char* title)
{
    static auto real = Next<int (*)(const char*)>("glutCreateWindow");
    int window = real(title);
    Log('W');
    return window;
}

extern "C" void glutMainLoop()
{
    static auto real = Next<void (*)()>("glutMainLoop");
    Log('M');
    real();
}

// The step and clock timers run through these, which log the schedule's
// count after the program's own callback has caught up.
static void (*stepCallback)(int);
static void (*clockCallback)(int);

// A program without the exported schedule (an older build) runs one tick per
// timer run, so counting the runs is its count.
static void LogTicks(char kind, const char* schedule, long long& runs)
{
    auto s = (const TickSchedule*)dlsym(RTLD_DEFAULT, schedule);
    runs++;
    Log(kind, s ? (long long)s->ticksRun : runs);
}

static void StepTimer(int value)
{
    static long long runs;
    stepCallback(value);
    LogTicks('T', "flightSchedule", runs);
}

static void ClockTimer(int value)
{
    static long long runs;
    clockCallback(value);
    LogTicks('K', "clockSchedule", runs);
}

extern "C" void glutTimerFunc(unsigned int ms, void (*callback)(int), int value)
{
    static auto real = Next<void (*)(unsigned int, void (*)(int), int)>("glutTimerFunc");
    if (value == STEP_TIMER_VALUE && callback != StepTimer) {
        stepCallback = callback;
        callback = StepTimer;
    }
    if (value == CLOCK_TIMER_VALUE && callback != ClockTimer) {
        clockCallback = callback;
        callback = ClockTimer;
    }
    if (value == EXPLOSION_TIMER_VALUE) {
        const char* stretch = getenv("PELORIN_EXPLOSION_MS");
        if (stretch && atoi(stretch) > 0)
            ms = (unsigned)atoi(stretch);
    }
    real(ms, callback, value);
}
