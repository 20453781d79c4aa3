// The flight recorder: everything that reaches the simulation in live play,
// with the step it arrived before, kept in memory for the instant replay and,
// with --record, written to a file as it goes. A flight runs from the start
// or a restart to the next restart or the end of the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/flight_recording.h"
#include "sim/shell/pad_mapping.h"

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

// Live inputs, each before it acts. Keys: only those of the pilot's table
// that change the flight or print its lines (FlightKey).
bool FlightKey(unsigned char key);
void RecordKey(unsigned char key);
void RecordArrow(int key);
// The controller's actions of the step under way, before they are applied.
void RecordPadActions(const PadActions& actions);
// A frame of the explosion's timer chain, before it runs.
void RecordExplosionFrame();
// After every live step: counts it, keeps a digest and a snapshot each
// second, writes the file each second, and starts a new flight when the
// controller restarted the game during the step.
void RecordStepDone();
// After the keyboard's Y restarted the game: the next flight starts now.
void RecordRestart();
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
