// What the flight recorder costs a live step, and how large a minute of
// flying makes its file: by controller with the stick never still and the
// throttle always moving (the worst a hand gives), and by keyboard.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/flight/aircraft.h"
#include "sim/shell/pad_mapping.h"
#include "sim/shell/recorder.h"
#include "sim/shell/start_state.h"

static const int STEPS_PER_MINUTE = 6000;

static PilotInput PadRecord(const PadActions& a)
{
    PilotInput input = PilotInput();
    input.padRead = true;
    input.pad = a;
    return input;
}

// The controller's actions of step i: a wandering stick, a throttle that
// changes every other step, a button now and then.
static PadActions Wandering(int i)
{
    PadActions a;
    a.roll = 0.3f * std::sin(i * 0.37f);
    a.pitch = 0.2f * std::cos(i * 0.23f);
    a.thrust = (float)(50 + (i / 2) % 40);
    a.pressed = i % 200 == 0 ? PAD_START : 0u;
    return a;
}

// The recorder's own work for a step: the controller's actions and the
// step's end (a digest and a snapshot each second, the file written then).
static void BM_RecordStepController(benchmark::State& state)
{
    ResetSimulation();
    std::string path = "/tmp/pelorin-bench-" + std::to_string(getpid()) + ".rec";
    StartRecorder();
    std::string error;
    RecordToFile(path.c_str(), error);
    int i = 0;
    for (auto _ : state) {
        PadActions a = Wandering(i);
        RecordInput(PadRecord(a));
        plane.thrust = a.thrust;
        StepOutcome outcome = {};
        // A new flight each minute, so memory stays that of one minute.
        outcome.restarts = ++i % STEPS_PER_MINUTE == 0 ? 1 : 0;
        RecordStepDone(outcome);
    }
    FinishRecording();
    unlink(path.c_str());
}
BENCHMARK(BM_RecordStepController);

// Bytes of one minute's file, in the label (a counter would have to be in
// every benchmark's row of make bench's CSV).
static void MinuteOfFlying(benchmark::State& state, bool controller)
{
    for (auto _ : state) {
        state.PauseTiming();
        ResetSimulation();
        std::string path = "/tmp/pelorin-bench-" + std::to_string(getpid()) + ".rec";
        StartRecorder();
        std::string error;
        RecordToFile(path.c_str(), error);
        state.ResumeTiming();
        for (int i = 0; i < STEPS_PER_MINUTE; i++) {
            if (controller) {
                PadActions a = Wandering(i);
                RecordInput(PadRecord(a));
                plane.thrust = a.thrust;
            } else if (i % 100 == 0) {
                // A key or an arrow every second: a busy pilot.
                PilotInput input = PilotInput();
                if (i % 200 == 0)
                    input.presses.push_back({false, ']'});
                else
                    input.presses.push_back({true, (unsigned char)ARROW_DOWN});
                RecordInput(input);
            }
            RecordStepDone(StepOutcome());
        }
        FinishRecording();
        struct stat info;
        stat(path.c_str(), &info);
        state.SetLabel(std::to_string((long long)info.st_size) + " bytes a minute");
        unlink(path.c_str());
    }
}

static void BM_RecordMinuteController(benchmark::State& state)
{
    MinuteOfFlying(state, true);
}
BENCHMARK(BM_RecordMinuteController)->Unit(benchmark::kMillisecond);

static void BM_RecordMinuteKeyboard(benchmark::State& state)
{
    MinuteOfFlying(state, false);
}
BENCHMARK(BM_RecordMinuteKeyboard)->Unit(benchmark::kMillisecond);
