// The game controller: the mapping from its values to the pilot's actions,
// and a virtual controller read by the simulation step through SDL.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cmath>
#include <cstring>
#include <string>

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/pad_mapping.h"

TEST(PadMapping, StickTriggersAndButtonsStepByStep)
{
    struct Case {
        const char* what;
        PadInput input;
        int steps;
        float thrust, roll, pitch, wantThrust; // thrust before the first step; turns of every step
        int southPresses;
    };
    const unsigned S = PAD_SOUTH;
    const Case cases[] = {
        {"inside the dead zone", {0.1f, -0.1f, 0.05f, 0, 0, 0, 0}, 5, 10, 0, 0, 10, 0},
        {"full right, full back", {1, 1, 0, 0, 0, 0, 0}, 1, 0, 1.0f, 0.5f, 0, 0},
        {"full left, full forwards", {-1, -1, 0, 0, 0, 0, 0}, 1, 0, -1.0f, -0.5f, 0, 0},
        {"halfway past the dead zone: a quarter", {0.55f, -0.55f, 0, 0, 0, 0, 0}, 1, 0, 0.25f, -0.125f, 0, 0},
        {"full pull, one step: half a unit kept back", {0, 0, 1, 0, 0, 0, 0}, 1, 0, 0, 0, 0, 0},
        {"full pull, one second", {0, 0, 1, 0, 0, 0, 0}, 100, 0, 0, 0, 50, 0},
        {"full pull stops at 100", {0, 0, 1, 0, 0, 0, 0}, 300, 0, 0, 0, 100, 0},
        {"left trigger stops at 0", {0, 0, 0, 1, 0, 0, 0}, 50, 7, 0, 0, 0, 0},
        {"half pull: a quarter a step", {0, 0, 0.525f, 0, 0, 0, 0}, 10, 40, 0, 0, 42, 0},
        {"a held button acts once", {0, 0, 0, 0, 0, 0, S}, 30, 0, 0, 0, 0, 1},
        {"a resting lever keeps the keys' throttle", {0, 0, 0, 0, 1, -1, 0}, 10, 37, 0, 0, 37, 0},
    };
    for (const Case& c : cases) {
        PadMemory memory = NeutralPadMemory();
        float thrust = c.thrust;
        int south = 0;
        PadActions a = {};
        for (int i = 0; i < c.steps; i++) {
            a = MapPad(c.input, memory, thrust);
            thrust = a.thrust;
            ASSERT_EQ(thrust, std::floor(thrust)) << c.what << ": step " << i;
            south += (a.pressed & S) != 0;
        }
        EXPECT_FLOAT_EQ(a.roll, c.roll) << c.what;
        EXPECT_FLOAT_EQ(a.pitch, c.pitch) << c.what;
        EXPECT_EQ(thrust, c.wantThrust) << c.what;
        EXPECT_EQ(south, c.southPresses) << c.what;
    }

    // A lever that moves sets the thrust: fully forward 100, fully back 0.
    PadMemory memory = NeutralPadMemory();
    PadInput lever = {0, 0, 0, 0, 1, 0.3f, 0};
    EXPECT_EQ(MapPad(lever, memory, 12).thrust, 12);
    for (float at : {-1.0f, 1.0f, -0.333f}) {
        lever.lever = at;
        EXPECT_EQ(MapPad(lever, memory, 12).thrust, std::round((1 - at) * 50)) << at;
    }
}

// Steps with the controller read into each step's record while paused, so
// only the controller acts.
static void Steps(int n)
{
    for (int i = 0; i < n; i++) {
        PilotInput input = PilotInput();
        ReadGamepad(input);
        SimulationStep(input);
    }
}

TEST(Gamepad, AVirtualControllerFliesThroughTheStepAndLetsGoWhenPulledOut)
{
    ASSERT_TRUE(StartGamepad());
    ResetPlane(plane);
    paused = 1;
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr);
    // The virtual controller numbers its axes and buttons as SDL's standard layout.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768); // released

    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Body want = plane;
    Steps(50);
    for (int i = 0; i < 50; i++)
        RotateBody(want, PAD_ROLL_MAX, want.dir);
    EXPECT_EQ(std::memcmp(&plane, &want, sizeof plane), 0) << "50 steps of full right roll";

    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Steps(20);
    EXPECT_EQ(plane.thrust, 10);

    testing::internal::CaptureStdout();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    Steps(5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Raising landing gear\n");

    // Pulled out with the stick right, the trigger pulled and south held.
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    want = plane;
    Steps(20);
    EXPECT_EQ(std::memcmp(&plane, &want, sizeof plane), 0) << "no turn or throttle after the pull-out";
    const PadInput neutral = {};
    EXPECT_EQ(std::memcmp(&padInput, &neutral, sizeof neutral), 0);
    StopGamepad();
}
