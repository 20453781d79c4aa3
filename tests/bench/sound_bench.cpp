// Cost of mixing 10 ms of sound (480 stereo frames at 48 kHz) with every voice
// sounding: engines, airflow, wheels, the gear, a touchdown and a crash.
#include <benchmark/benchmark.h>

#include <vector>

#include "sim/sound/synth.h"

static void BM_MixTenMilliseconds(benchmark::State& state)
{
    const int rate = 48000, frames = rate / 100;
    static SoundMixer mixer;
    StartMixer(mixer, rate);
    SoundScene s = {};
    s.spoolTarget = 0.7f;
    s.speed = 150.0f;
    s.onGround = 1;
    s.distance = 2000.0f;
    s.pan = 0.3f;
    s.soundOn = 1;
    s.volume = 0.8f;
    std::vector<float> out(2 * frames);
    int runs = 0;
    for (auto _ : state) {
        // The cues start again every half second, so each stays in the mix.
        if (runs++ % 50 == 0) {
            s.gearMoves++;
            s.touchdowns++;
            s.crashes++;
        }
        MixSound(mixer, s, out.data(), frames);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixTenMilliseconds);
