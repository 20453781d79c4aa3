// The replay of recorded flights: events, steps and digest checks.
#include "sim/shell/replay.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/shell/controls.h"
#include "sim/shell/flight_state.h"
#include "sim/shell/pad_mapping.h"

void (*replayExplosionShown)(const ExplosionQuad& quad);

static const std::vector<RecordedFlight>* replayFlights;
static size_t flightIndex;
static size_t nextEvent;
static int64_t stepsDone;
static float carryRoll, carryPitch;
static bool quitInStep;                 // the controller ended the game part-way through a step
static std::vector<uint8_t> quitState;  // the state it ended in
static int64_t divergedAt;

void ResetReplayState()
{
    replayExplosionShown = nullptr;
    replayFlights = nullptr;
    flightIndex = 0;
    nextEvent = 0;
    stepsDone = 0;
    carryRoll = carryPitch = 0.0f;
    quitInStep = false;
    quitState.clear();
    divergedAt = -1;
}

static const RecordedFlight& Current()
{
    return (*replayFlights)[flightIndex];
}

// The controller hook while replaying: the recorded actions of this step,
// with the stick's carried deflection.
static void ReplayController()
{
    const RecordedFlight& f = Current();
    const RecordedEvent* pad = nullptr;
    if (nextEvent < f.events.size() && f.events[nextEvent].type == EVENT_PAD && f.events[nextEvent].step <= stepsDone)
        pad = &f.events[nextEvent++];
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
    if (!pad && actions.roll == 0.0f && actions.pitch == 0.0f)
        return;
    if (ApplyPadActions(actions)) {
        quitInStep = true;
        quitState = CaptureFlightState();
    }
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
    quitInStep = false;
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

// Applies the keys, arrows and explosion frames that arrived before the next
// step, after checking the digest taken when the steps so far had run.
static bool ApplyEventsDue()
{
    const RecordedFlight& f = Current();
    while (nextEvent < f.events.size() && f.events[nextEvent].step <= stepsDone) {
        const RecordedEvent& e = f.events[nextEvent];
        if (e.type == EVENT_PAD)
            break;
        nextEvent++;
        switch (e.type) {
        case EVENT_DIGEST:
            if (e.digest != (uint32_t)FlightStateDigest()) {
                divergedAt = stepsDone;
                return false;
            }
            break;
        case EVENT_KEY:
            PilotKey(e.code);
            break;
        case EVENT_ARROW:
            PilotSpecialKey(e.code);
            break;
        case EVENT_EXPLOSION: {
            ExplosionQuad quad;
            AdvanceExplosion(quad);
            if (replayExplosionShown)
                replayExplosionShown(quad);
            break;
        }
        default:
            break;
        }
    }
    return true;
}

ReplayStatus ReplayStep()
{
    if (!replayFlights)
        return REPLAY_ENDED;
    if (divergedAt >= 0)
        return REPLAY_DIVERGED;
    for (;;) {
        if (!ApplyEventsDue())
            return REPLAY_DIVERGED;
        const RecordedFlight& f = Current();
        bool done = nextEvent >= f.events.size() && (!f.ended || stepsDone >= f.lastStep);
        if (!done)
            break;
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
    void (*liveController)() = readController;
    void (*liveExplosionTimer)() = armExplosionTimer;
    // The recording holds the controller's actions and the explosion's frames.
    readController = ReplayController;
    armExplosionTimer = nullptr;
    SimulationStep();
    readController = liveController;
    armExplosionTimer = liveExplosionTimer;
    stepsDone++;
    if (quitInStep) {
        // The game ended in the middle of this step, where the recording ends.
        quitInStep = false;
        RestoreFlightState(quitState);
        stepsDone--;
    }
    return REPLAY_STEPPED;
}

int64_t ReplayStepsDone()
{
    return stepsDone;
}

size_t ReplayFlight()
{
    return flightIndex;
}

int64_t ReplayFlightFirstStep()
{
    return replayFlights ? Current().firstStep : 0;
}

int64_t ReplayDivergedStep()
{
    return divergedAt;
}
