// Cost of the rotations the simulation step and the input handlers make.
#include <benchmark/benchmark.h>

#include "sim/math/vec_math.h"

static void BM_RotateBody(benchmark::State& state)
{
    Body b{};
    b.dir = {0, 0, 1};
    b.up = {0, 1, 0};
    b.normal = {-1, 0, 0};
    for (auto _ : state) {
        Vec3 axis = {0.2f, 1.0f, 0.1f};
        RotateBody(b, 0.5f, axis);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_RotateBody);

static void BM_AngleBetween(benchmark::State& state)
{
    Vec3 a = {0.3f, 0.4f, 0.5f}, c = {-0.2f, 0.9f, 0.1f};
    for (auto _ : state)
        benchmark::DoNotOptimize(AngleBetween(a, c));
}
BENCHMARK(BM_AngleBetween);
