// From a controller's axis and button values to the pilot's actions, and
// those actions applied through the same functions the keys use.
#include "sim/shell/pad_mapping.h"

#include <cmath>

#include "sim/flight/aircraft.h"
#include "sim/shell/pilot_keys.h"
#include "sim/view/view_state.h"

static const int VIEW_COUNT = 6;    // cockpit, chase, fixed, tower, overhead, orbit

PadMemory NeutralPadMemory()
{
    return {0u, 0.0f, -1};
}

// Deflection beyond the dead zone, 0..1, squared so that the first part of
// the travel gives fine corrections and the full deflection still the most.
static float StickCurve(float value)
{
    float a = std::fabs(value);
    if (!(a > PAD_DEAD_ZONE))
        return 0.0f;
    float d = (a - PAD_DEAD_ZONE) / (1.0f - PAD_DEAD_ZONE);
    if (d > 1.0f)
        d = 1.0f;
    return value < 0.0f ? -d * d : d * d;
}

static float TriggerPull(float value)
{
    if (!(value > PAD_TRIGGER_DEAD))
        return 0.0f;
    float d = (value - PAD_TRIGGER_DEAD) / (1.0f - PAD_TRIGGER_DEAD);
    return d > 1.0f ? 1.0f : d;
}

PadActions MapPad(const PadInput& input, PadMemory& memory, float thrust)
{
    PadActions out;
    out.roll = StickCurve(input.roll) * PAD_ROLL_MAX;
    out.pitch = StickCurve(input.pitch) * PAD_PITCH_MAX;

    // The triggers build up fractions of a unit so that the throttle keeps
    // the whole values the keys give it; released, nothing is left over.
    float rate = (TriggerPull(input.throttleUp) - TriggerPull(input.throttleDown)) * PAD_THROTTLE_RATE;
    if (rate == 0.0f) {
        memory.throttleCarry = 0.0f;
    } else {
        memory.throttleCarry += rate;
        float whole = std::trunc(memory.throttleCarry);
        memory.throttleCarry -= whole;
        thrust += whole;
        if (thrust > THRUST_MAX || thrust < 0.0f) {
            thrust = thrust > THRUST_MAX ? THRUST_MAX : 0.0f;
            memory.throttleCarry = 0.0f;
        }
    }

    // A lever is absolute but acts only when it moves, so the keys keep the
    // throttle while it rests; its first reading only records where it is.
    if (input.hasLever) {
        float lever = input.lever < -1.0f ? -1.0f : (input.lever > 1.0f ? 1.0f : input.lever);
        int leverThrust = (int)std::lround((1.0f - lever) * (THRUST_MAX / 2.0f));
        if (memory.leverThrust >= 0 && leverThrust != memory.leverThrust)
            thrust = (float)leverThrust;
        memory.leverThrust = leverThrust;
    }
    out.thrust = thrust;

    out.pressed = input.buttons & ~memory.buttons;
    memory.buttons = input.buttons;
    return out;
}

// The next or previous view in the order of the number keys, orbit last;
// through the keys, so each view starts as its key starts it.
static void StepView(int delta)
{
    int next = (viewMode - 1 + delta + VIEW_COUNT) % VIEW_COUNT + 1;
    if (next == VIEW_ORBIT) {
        if (viewMode != VIEW_CHASE)
            PilotKey('2');
        PilotKey('2');
    } else {
        PilotKey((unsigned char)('0' + next));
    }
}

void PadToInput(const PadInput& input, PadMemory& memory, PilotInput& record)
{
    record.padRead = true;
    record.pad = MapPad(input, memory, plane.thrust);
    if (record.pad.pressed & PAD_VIEW_PREV)
        StepView(-1);
    if (record.pad.pressed & PAD_VIEW_NEXT)
        StepView(1);
}
