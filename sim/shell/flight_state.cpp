// Packing the simulation's globals for recordings and the instant replay.
#include "sim/shell/flight_state.h"

#include <cstring>

#include "common/flight_recording.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"

// Each global is visited in one fixed order, packing or unpacking, so the two
// directions cannot drift apart.
namespace {

struct Packer {
    uint8_t* bytes;
    bool write; // true: globals into bytes; false: bytes into globals
    size_t pos;

    void Word(void* value)
    {
        if (write)
            memcpy(bytes + pos, value, 4);
        else
            memcpy(value, bytes + pos, 4);
        pos += 4;
    }
    void Vector(Vec3& v)
    {
        Word(&v.x);
        Word(&v.y);
        Word(&v.z);
    }
};

void VisitState(Packer& p)
{
    static_assert(sizeof(float) == 4 && sizeof(int) == 4, "the packed state holds 4-byte values");
    p.Vector(plane.pos);
    p.Vector(plane.dir);
    p.Vector(plane.up);
    p.Vector(plane.normal);
    p.Word(&plane.speed);
    p.Word(&plane.thrust);
    p.Vector(plane.velocity);
    p.Word(&plane.airspeed);
    p.Word(&flightModel);
    p.Word(&gravity);
    p.Word(&landed);
    p.Word(&gearDown);
    p.Word(&gearHeight);
    p.Word(&paused);
    p.Word(&restartPrompt);
    int cause = (int)lastCrash.cause;
    p.Word(&cause);
    if (!p.write)
        lastCrash.cause = (CrashCause)cause;
    p.Word(&lastCrash.value);
    p.Word(&gearCollapseSpeed);
    p.Word(&explosionFrame);
    p.Word(&explosionAlpha);
    p.Word(&explosionBrightness);
    p.Word(&explosionScheduled);
}

} // namespace

std::vector<uint8_t> CaptureFlightState()
{
    std::vector<uint8_t> state(FLIGHT_STATE_BYTES);
    Packer p = {state.data(), true, 0};
    VisitState(p);
    return state;
}

// Where the crash cause lies in the packed state: after the 18 floats of the
// aircraft and seven more values.
static const size_t CAUSE_OFFSET = 4 * (18 + 7);

bool FlightStateFits(const std::vector<uint8_t>& state)
{
    if (state.size() != FLIGHT_STATE_BYTES)
        return false;
    int cause;
    memcpy(&cause, state.data() + CAUSE_OFFSET, 4);
    return cause >= CRASH_NONE && cause <= CRASH_DIVE;
}

bool RestoreFlightState(const std::vector<uint8_t>& state)
{
    if (!FlightStateFits(state))
        return false;
    std::vector<uint8_t> copy = state;
    Packer p = {copy.data(), false, 0};
    VisitState(p);
    return true;
}

uint64_t FlightStateDigest()
{
    std::vector<uint8_t> state = CaptureFlightState();
    return Fnv1a64(state.data(), state.size());
}
