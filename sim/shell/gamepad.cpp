// Every SDL call of the simulator: one game controller or joystick at a time,
// picked up when plugged in and let go when pulled out, read once a step.
#include "sim/shell/gamepad.h"

#include <SDL.h>
#include <cstdio>


PadInput padInput;

static const float AXIS_FULL = 32767.0f;
static const int EVENT_BATCH = 8;
// Where common flight sticks put their axes: x, y, twist, throttle.
static const int STICK_ROLL_AXIS = 0;
static const int STICK_PITCH_AXIS = 1;
static const int STICK_LEVER_AXIS = 3;
static const int STICK_GEAR_BUTTON = 0;

static SDL_GameController* controller = nullptr; // null for a joystick SDL does not know as a controller
static SDL_Joystick* joystick = nullptr;
static SDL_JoystickID deviceId = -1;
static PadMemory memory = {0u, 0.0f, -1};
static bool lookForDevice = true; // at start, after a plug-in or a pull-out
static bool started;               // SDL took the joystick side up

void ResetPadState()
{
    padInput = {};
}

bool StartGamepad()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL has no window here, so it never has the focus it would otherwise
    // wait for before passing the device's events on.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        fprintf(stderr, "No game controller support (%s): the keyboard flies alone\n", SDL_GetError());
        return false;
    }
    started = true;
    return true;
}

static void OpenDevice(int index)
{
    if (SDL_IsGameController(index)) {
        controller = SDL_GameControllerOpen(index);
        joystick = controller ? SDL_GameControllerGetJoystick(controller) : nullptr;
    } else {
        joystick = SDL_JoystickOpen(index);
    }
    if (!joystick) {
        controller = nullptr;
        return;
    }
    deviceId = SDL_JoystickInstanceID(joystick);
    memory = NeutralPadMemory();
}

static void CloseDevice()
{
    if (controller)
        SDL_GameControllerClose(controller);
    else if (joystick)
        SDL_JoystickClose(joystick);
    controller = nullptr;
    joystick = nullptr;
    deviceId = -1;
    memory = NeutralPadMemory();
    padInput = {};
    lookForDevice = true;
}

// Plug-in and pull-out events; the device's own events are dropped, since its
// state is read directly.
static void TakeDeviceEvents()
{
    SDL_PumpEvents();
    SDL_Event events[EVENT_BATCH];
    int n;
    while ((n = SDL_PeepEvents(events, EVENT_BATCH, SDL_GETEVENT, SDL_JOYDEVICEADDED, SDL_JOYDEVICEREMOVED)) > 0) {
        for (int i = 0; i < n; i++) {
            if (events[i].type == SDL_JOYDEVICEADDED)
                lookForDevice = true;
            else if (events[i].jdevice.which == deviceId)
                CloseDevice();
        }
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (joystick && !SDL_JoystickGetAttached(joystick))
        CloseDevice();
    // Another device still plugged in takes over from one pulled out.
    if (lookForDevice && !joystick) {
        for (int i = 0; !joystick && i < SDL_NumJoysticks(); i++)
            OpenDevice(i);
    }
    lookForDevice = false;
}

static float Axis(Sint16 raw)
{
    float v = (float)raw / AXIS_FULL;
    return v < -1.0f ? -1.0f : v;
}

static unsigned Button(SDL_GameControllerButton button, unsigned bit)
{
    return SDL_GameControllerGetButton(controller, button) ? bit : 0u;
}

static PadInput ReadDevice()
{
    PadInput in = {};
    if (controller) {
        in.roll = Axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
        in.pitch = Axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
        in.throttleUp = Axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
        in.throttleDown = Axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        in.buttons = Button(SDL_CONTROLLER_BUTTON_A, PAD_SOUTH) | Button(SDL_CONTROLLER_BUTTON_B, PAD_EAST) |
                     Button(SDL_CONTROLLER_BUTTON_START, PAD_START) | Button(SDL_CONTROLLER_BUTTON_BACK, PAD_BACK) |
                     Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, PAD_VIEW_PREV) |
                     Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PAD_VIEW_NEXT);
    } else {
        int axes = SDL_JoystickNumAxes(joystick);
        if (axes > STICK_PITCH_AXIS) {
            in.roll = Axis(SDL_JoystickGetAxis(joystick, STICK_ROLL_AXIS));
            in.pitch = Axis(SDL_JoystickGetAxis(joystick, STICK_PITCH_AXIS));
        }
        if (axes > STICK_LEVER_AXIS) {
            in.hasLever = 1;
            in.lever = Axis(SDL_JoystickGetAxis(joystick, STICK_LEVER_AXIS));
        }
        if (SDL_JoystickGetButton(joystick, STICK_GEAR_BUTTON))
            in.buttons = PAD_SOUTH;
    }
    return in;
}

void ReadGamepad(PilotInput& record)
{
    if (!started)
        return;
    TakeDeviceEvents();
    if (!joystick)
        return;
    padInput = ReadDevice();
    PadToInput(padInput, memory, record);
}

void StopGamepad()
{
    if (!started)
        return;
    CloseDevice();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK);
    started = false;
}
