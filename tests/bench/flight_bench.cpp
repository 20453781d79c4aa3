// Cost of one simulation step (flight model, then ground contact) of each model.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "common/course_file.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
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

// The heading model's step with a course of 40 gates active: the gate test
// (only the next gate is tested) adds to the step's cost. The gates stand
// far off the path, so the attempt never ends and every step tests one.
static void BM_SimulationStepCourseFortyGates(benchmark::State& state)
{
    Course course;
    for (int i = 0; i < 40; i++)
        course.gates.push_back({3075.0, 5000.0, 1000.0 * i + 500000.0, 0.0, 0.0, 1.0, 300.0});
    ResetSimulation();
    activeCourse = &course;
    int ticks = 0;
    for (auto _ : state) {
        if (ticks++ % 1000 == 0) {
            ResetPlane(plane);
            plane.pos.y = 5000.0f;
            plane.thrust = 40.0f;
            plane.speed = 80.0f;
            Vec3 roll = plane.dir;
            RotateBody(plane, 20.0f, roll);
        }
        SimulationStep(PilotInput());
        benchmark::DoNotOptimize(plane);
    }
    activeCourse = nullptr;
}
BENCHMARK(BM_SimulationStepCourseFortyGates);

// The gate test alone, a path through the disc of a gate far from the origin.
static void BM_PathCrossesGate(benchmark::State& state)
{
    CourseGate gate = {12241.0, 500.0, 53381.0, 0.1, 0.0, 0.995, 300.0};
    Vec3 from = {12241.0f, 500.0f, 53360.0f}, to = {12243.0f, 501.0f, 53400.0f};
    for (auto _ : state) {
        benchmark::DoNotOptimize(from);
        benchmark::DoNotOptimize(PathCrossesGate(gate, from, to));
    }
}
BENCHMARK(BM_PathCrossesGate);
