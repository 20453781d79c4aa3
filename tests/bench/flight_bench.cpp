// Cost of one simulation step (flight model, then ground contact) of each model.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/shell/start_state.h"

// Airborne at 5000 units in a banked climb, re-posed now and then so that
// the step keeps measuring flight rather than a crash.
static void StepModel(benchmark::State& state, int model, float thrust)
{
    ResetSimulation();
    flightModel = model;
    int ticks = 0;
    for (auto _ : state) {
        if (ticks++ % 1000 == 0) {
            ResetPlane(plane);
            plane.pos.y = 5000.0f;
            plane.thrust = thrust;
            plane.speed = 2.0f * thrust;
            Vec3 roll = plane.dir;
            RotateBody(plane, 20.0f, roll);
        }
        SimulationStep(PilotInput());
        benchmark::DoNotOptimize(plane);
    }
}

static void BM_SimulationStepHeading(benchmark::State& state)
{
    StepModel(state, 0, 40.0f);
}
BENCHMARK(BM_SimulationStepHeading);

// The force model prints a line every airborne tick; that write is part of
// its cost, so it goes to /dev/null rather than being skipped.
static void BM_SimulationStepForces(benchmark::State& state)
{
    fflush(stdout);
    int saved = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
    StepModel(state, 1, 100.0f);
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    flightModel = 0;
}
BENCHMARK(BM_SimulationStepForces);
