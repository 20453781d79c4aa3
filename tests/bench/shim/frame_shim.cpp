// Preloaded into the real simulator by the frame harness and the end-to-end
// tests, which may not change the program: timestamps each frame (from its
// glClear to the return of its swap) and each re-arm of the simulation step,
// and can stretch the explosion timer so that a frame of it can be caught.
//
//   PELORIN_FRAME_LOG=FILE      appends "C ns", "S ns" and "T ns" lines
//                               (frame start, swap done, step re-armed),
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

const int STEP_TIMER_VALUE = 2;      // FlightTick's timer value
const int EXPLOSION_TIMER_VALUE = 4; // ExplosionTick's timer value

static int logFile = -2; // -2: not opened yet, -1: no log wanted

static void Log(char kind)
{
    if (logFile == -2)
        logFile = OpenLog("PELORIN_FRAME_LOG");
    if (logFile < 0)
        return;
    char line[48];
    int n = snprintf(line, sizeof line, "%c %lld\n", kind, ClockNs(CLOCK_REALTIME));
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

extern "C" void glutTimerFunc(unsigned int ms, void (*callback)(int), int value)
{
    static auto real = Next<void (*)(unsigned int, void (*)(int), int)>("glutTimerFunc");
    if (value == STEP_TIMER_VALUE)
        Log('T');
    if (value == EXPLOSION_TIMER_VALUE) {
        const char* stretch = getenv("PELORIN_EXPLOSION_MS");
        if (stretch && atoi(stretch) > 0)
            ms = (unsigned)atoi(stretch);
    }
    real(ms, callback, value);
}
