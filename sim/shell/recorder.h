// The flight recorder: the input record of every live step, with the step it
// was stepped at, kept in memory for the instant replay and,
// with --record, written to a file as it goes. A flight runs from the start
// or a restart to the next restart or the end of the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/flight_recording.h"
#include "sim/flight/flight_tick.h"

// The state once `step` steps had run, and where the flight's events go on
// from there: the instant replay starts from one of these.
struct FlightSnapshot {
    int64_t step;
    size_t eventIndex;
    float padRoll, padPitch; // the stick carried at that step
    std::vector<uint8_t> state;
};

// The first snapshot is taken at a flight's start, then one every
// RECORDING_DIGEST_PERIOD steps.
const int64_t SNAPSHOT_PERIOD = RECORDING_DIGEST_PERIOD;
// Snapshots kept, and the flight's events since the oldest of them: enough
// for the instant replay's 30 seconds.
const size_t SNAPSHOTS_KEPT = 40;

// Starts recording a flight from the state now. Called once the world is
// built, in live play only.
void StartRecorder();
// Also writes the recording to `path` (created or emptied), from the flight
// under way; false with a one-line reason when the file cannot be opened.
bool RecordToFile(const char* path, std::string& error);
// What the program and its world are, for a recording's header: the program
// version and the landscape file read at start.
Recording RecordingHeaderNow();
// This program's version, as a recording's header keeps it.
const char* ProgramVersion();

// A live step's input record, before the step runs; then, after it, the
// step counted: a digest and a snapshot each second, the file written each
// second, and a new flight after a step that restarted the game.
void RecordInput(const PilotInput& input);
void RecordStepDone(const StepOutcome& outcome);
// The file completed and closed: at the end of the game.
void FinishRecording();

// The flight under way (from its oldest snapshot kept), its snapshots, and
// the steps run since the start.
bool RecorderOn();
const RecordedFlight& LiveFlight();
const std::vector<FlightSnapshot>& LiveSnapshots();
int64_t RecordedSteps();
// Stops and starts taking inputs, without ending the flight: the instant
// replay runs the simulation meanwhile.
void SuspendRecorder(bool suspended);
// Nothing recorded, no file: the start state.
void ResetRecorderState();
