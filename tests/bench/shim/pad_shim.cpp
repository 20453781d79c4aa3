// Preloaded into the real simulator by the end-to-end tests, which may not
// change the program, and by anyone who wants to fly by pad without one:
// once the program has started SDL, attaches a virtual game controller of
// the standard layout inside it and moves that controller's axes and buttons
// as the lines of a script say, read from a thread of the shim's own.
//
//   PELORIN_PAD_SCRIPT=FILE  read line by line, waiting for more at its end
//                            (a test appends to it as it goes):
//     axis N VALUE     raw axis N (0 left x, 1 left y, 4 left trigger,
//                      5 right trigger) to VALUE, -32768..32767; a trigger
//                      rests at -32768
//     button N 0|1     button N (0 south, 1 east, 4 back, 6 start,
//                      13 D-pad left, 14 D-pad right) up or down
//     wait MS          sleep before the next line
//     detach           pull the controller out
#include <SDL.h>
#include <pthread.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shim_common.h"

const int AXES = 6;
const int BUTTONS = 15;
const int TRIGGER_AXES[2] = {4, 5};
const int IDLE_US = 5000; // waiting for the script to grow

static int deviceIndex = -1;
static SDL_Joystick* device = nullptr;

static void Run(char* line)
{
    int n = 0, value = 0;
    if (sscanf(line, "axis %d %d", &n, &value) == 2)
        SDL_JoystickSetVirtualAxis(device, n, (Sint16)value);
    else if (sscanf(line, "button %d %d", &n, &value) == 2)
        SDL_JoystickSetVirtualButton(device, n, (Uint8)value);
    else if (sscanf(line, "wait %d", &value) == 1)
        usleep((useconds_t)value * 1000);
    else if (strncmp(line, "detach", 6) == 0 && device) {
        SDL_JoystickClose(device);
        device = nullptr;
        SDL_JoystickDetachVirtual(deviceIndex);
    }
}

static void* ReadScript(void* path)
{
    FILE* script = fopen((const char*)path, "r");
    if (!script) {
        fprintf(stderr, "pad shim: cannot read %s\n", (const char*)path);
        return nullptr;
    }
    char line[128];
    size_t have = 0;
    for (;;) {
        // A line is run once it is whole; a part line waits for the rest.
        if (!fgets(line + have, (int)(sizeof line - have), script)) {
            clearerr(script);
            usleep(IDLE_US);
            continue;
        }
        have = strlen(line);
        if (have > 0 && line[have - 1] != '\n' && have < sizeof line - 1)
            continue;
        if (device)
            Run(line);
        have = 0;
    }
}

extern "C" int SDL_Init(Uint32 flags)
{
    static auto real = Next<int (*)(Uint32)>("SDL_Init");
    int result = real(flags);
    const char* path = getenv("PELORIN_PAD_SCRIPT");
    if (result != 0 || !path || device)
        return result;
    deviceIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, AXES, BUTTONS, 0);
    device = deviceIndex >= 0 ? SDL_JoystickOpen(deviceIndex) : nullptr;
    if (!device) {
        fprintf(stderr, "pad shim: no virtual controller: %s\n", SDL_GetError());
        return result;
    }
    for (int axis : TRIGGER_AXES)
        SDL_JoystickSetVirtualAxis(device, axis, -32768);
    pthread_t reader;
    if (pthread_create(&reader, nullptr, ReadScript, (void*)path) == 0)
        pthread_detach(reader);
    return result;
}
