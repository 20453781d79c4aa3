// The replay of recorded flights: each step's record read back, then stepped.
#include "sim/shell/replay.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/shell/flight_state.h"

void (*replayExplosionShown)(const ExplosionQuad& quad);

static const std::vector<RecordedFlight>* replayFlights;
static size_t flightIndex;
static size_t nextEvent;
static int64_t stepsDone;
static float carryRoll, carryPitch;
static int64_t divergedAt;
static PilotInput record; // the step's, kept for its room

void ResetReplayState()
{
    replayExplosionShown = nullptr;
    replayFlights = nullptr;
    flightIndex = 0;
    nextEvent = 0;
    stepsDone = 0;
    carryRoll = carryPitch = 0.0f;
    divergedAt = -1;
    ClearPilotInput(record);
}

static const RecordedFlight& Current()
{
    return (*replayFlights)[flightIndex];
}

static bool Begin(const std::vector<RecordedFlight>& flights, size_t flight, int64_t step, size_t eventIndex,
                  float roll, float pitch, const std::vector<uint8_t>& state)
{
    if (flight >= flights.size() || !RestoreFlightState(state))
        return false;
    replayFlights = &flights;
    flightIndex = flight;
    nextEvent = eventIndex;
    stepsDone = step;
    carryRoll = roll;
    carryPitch = pitch;
    divergedAt = -1;
    return true;
}

bool StartReplay(const std::vector<RecordedFlight>& flights, size_t flight)
{
    if (flight >= flights.size())
        return false;
    const RecordedFlight& f = flights[flight];
    return Begin(flights, flight, f.firstStep, 0, f.padRoll, f.padPitch, f.state);
}

bool StartReplayAt(const std::vector<RecordedFlight>& flights, size_t flight, int64_t step, size_t eventIndex,
                   float padRoll, float padPitch, const std::vector<uint8_t>& state)
{
    return Begin(flights, flight, step, eventIndex, padRoll, padPitch, state);
}

static ReplayStatus Diverged(int64_t step)
{
    divergedAt = step;
    return REPLAY_DIVERGED;
}

// True while the next event is the digest of the state the steps so far
// left, and that digest agrees; false when it does not.
static bool CheckDigestsDue()
{
    const RecordedFlight& f = Current();
    while (nextEvent < f.events.size() && f.events[nextEvent].step <= stepsDone &&
           f.events[nextEvent].type == EVENT_DIGEST) {
        if (f.events[nextEvent].digest != (uint32_t)FlightStateDigest())
            return false;
        nextEvent++;
    }
    return true;
}

// The record of the next step from the events recorded for it: the
// explosion's frames, the controller's actions (the stick carried from the
// last event that moved it) and the presses in order. Keys pass the flight
// key table, so a file switches nothing that is only shown.
static void ReadRecord(PilotInput& input)
{
    ClearPilotInput(input);
    const RecordedFlight& f = Current();
    const RecordedEvent* pad = nullptr;
    while (nextEvent < f.events.size() && f.events[nextEvent].step <= stepsDone &&
           f.events[nextEvent].type != EVENT_DIGEST) {
        const RecordedEvent& e = f.events[nextEvent++];
        switch (e.type) {
        case EVENT_KEY:
            if (FlightKey(e.code))
                input.presses.push_back({false, e.code});
            break;
        case EVENT_ARROW:
            input.presses.push_back({true, e.code});
            break;
        case EVENT_EXPLOSION:
            input.explosionFrames++;
            break;
        case EVENT_PAD:
            pad = &e;
            break;
        default:
            break;
        }
    }
    PadActions actions = {carryRoll, carryPitch, plane.thrust, 0u};
    if (pad) {
        if (pad->flags & PAD_HAS_ROLL)
            actions.roll = carryRoll = pad->roll;
        if (pad->flags & PAD_HAS_PITCH)
            actions.pitch = carryPitch = pad->pitch;
        if (pad->flags & (PAD_HAS_WHOLE_THRUST | PAD_HAS_THRUST))
            actions.thrust = pad->thrust;
        if (pad->flags & PAD_HAS_PRESSED)
            actions.pressed = pad->pressed;
    }
    input.padRead = pad || actions.roll != 0.0f || actions.pitch != 0.0f;
    input.pad = actions;
}

void RunExplosionFrame()
{
    ExplosionQuad quad;
    AdvanceExplosion(quad);
    if (replayExplosionShown)
        replayExplosionShown(quad);
}

ReplayStatus ReplayStep(StepOutcome* outcome)
{
    if (!replayFlights)
        return REPLAY_ENDED;
    if (divergedAt >= 0)
        return REPLAY_DIVERGED;
    if (!CheckDigestsDue())
        return Diverged(stepsDone);
    const RecordedFlight& f = Current();
    bool done = nextEvent >= f.events.size() && (!f.ended || stepsDone >= f.lastStep);
    if (done) {
        if (f.ended && FlightStateDigest() != f.finalDigest)
            return Diverged(stepsDone);
        if (flightIndex + 1 >= replayFlights->size())
            return REPLAY_ENDED;
        // The next flight starts where this one ended, from its own state.
        const RecordedFlight& next = (*replayFlights)[flightIndex + 1];
        std::vector<uint8_t> now = CaptureFlightState();
        if (now != next.state)
            return Diverged(stepsDone);
        flightIndex++;
        nextEvent = 0;
        stepsDone = next.firstStep;
        carryRoll = next.padRoll;
        carryPitch = next.padPitch;
        return REPLAY_NEXT_FLIGHT;
    }
    ReadRecord(record);
    // The frames ran on their own timer before the step, as in live play.
    for (int i = 0; i < record.explosionFrames; i++)
        RunExplosionFrame();
    StepOutcome result = SimulationStep(record);
    if (outcome)
        *outcome = result;
    stepsDone++;
    return REPLAY_STEPPED;
}

int64_t ReplayStepsDone()
{
    return stepsDone;
}

int64_t ReplayFlightFirstStep()
{
    return replayFlights ? Current().firstStep : 0;
}

int64_t ReplayDivergedStep()
{
    return divergedAt;
}
