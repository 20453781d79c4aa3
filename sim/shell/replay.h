// Replaying recorded flights through the very step the live game runs: the
// events recorded for a step read back into its input record, the
// explosion's frames run as their timer ran them, then SimulationStep with
// the record, and the digests checked as it goes. No GL and no toolkit, so --track runs without
// a window and tests run it directly.
#pragma once

#include <cstdint>
#include <vector>

#include "common/flight_recording.h"
#include "sim/flight/explosion.h"
#include "sim/flight/flight_keys.h"

enum ReplayStatus {
    REPLAY_STEPPED,  // one more step ran
    REPLAY_NEXT_FLIGHT, // no step ran: the next flight (after a restart) starts from here
    REPLAY_ENDED,    // every recorded step has run; the state is the recording's last
    REPLAY_DIVERGED, // the state differs from the recording's (ReplayDivergedStep says when)
};

// Starts replaying `flights` at flight `flight` from its start, putting its
// recorded state in place. The flights must outlive the replay. False when
// the recorded state is not one this game packs.
bool StartReplay(const std::vector<RecordedFlight>& flights, size_t flight);
// The same from a snapshot taken in live play: `step` steps run, the flight's
// events going on at `eventIndex`, the stick as carried then.
bool StartReplayAt(const std::vector<RecordedFlight>& flights, size_t flight, int64_t step, size_t eventIndex,
                   float padRoll, float padPitch, const std::vector<uint8_t>& state);
// Runs the next step, or says the replay has ended or diverged; a step's
// outcome (its sound cues) goes to `outcome` when given. A quit in a record
// needs nothing here: the recording ends with that step.
ReplayStatus ReplayStep(StepOutcome* outcome = nullptr);
// One recorded frame of the explosion, drawn through replayExplosionShown.
void RunExplosionFrame();
// Steps of the recording run so far (counted from the recording's start).
int64_t ReplayStepsDone();
// The first step of the flight being replayed.
int64_t ReplayFlightFirstStep();
// The step at which the state first differed; -1 while it has not.
int64_t ReplayDivergedStep();
// Draws an explosion frame the replay runs or the instant replay puts back:
// BuildExplosionList, set by the program's entry; null without a window.
extern void (*replayExplosionShown)(const ExplosionQuad& quad);
// No replay: the start state.
void ResetReplayState();
