// Loudness and spectrum of rendered sound, for the sound's tests and sound-stats.
#include "tests/support/sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "sim/sound/synth.h"

namespace {

// Power of the mono sum of [from, to) at every 10 Hz up to `top`: the mean
// over its tenths of a second, each through a Hann window (Welch's method,
// with plain DFTs at the tenth's own resolution).
std::vector<double> Spectrum(const std::vector<float>& stereo, int rate, double from, double to, double top)
{
    size_t n = (size_t)rate / 10;
    std::vector<double> power((size_t)(top / 10.0)), x(n);
    for (size_t first = (size_t)(from * rate); first + n <= (size_t)(to * rate) && 2 * (first + n) <= stereo.size();
         first += n) {
        for (size_t i = 0; i < n; i++)
            x[i] = (0.5 - 0.5 * std::cos(2.0 * M_PI * (double)i / (double)n)) *
                   ((double)stereo[2 * (first + i)] + (double)stereo[2 * (first + i) + 1]);
        for (size_t k = 0; k < power.size(); k++) {
            std::complex<double> sum = 0.0, turn = std::polar(1.0, 2.0 * M_PI * 10.0 * (double)k / rate), at = 1.0;
            for (size_t i = 0; i < n; i++, at *= turn)
                sum += x[i] * at;
            power[k] += std::norm(sum);
        }
    }
    return power;
}

} // namespace

std::vector<float> RenderSound(SoundMixer& mixer, const SoundScene& scene, double seconds)
{
    size_t step = (size_t)mixer.rate / 100, steps = (size_t)std::lround(seconds * 100.0);
    std::vector<float> out(2 * step * steps);
    for (size_t i = 0; i < steps; i++)
        MixSound(mixer, scene, out.data() + 2 * step * i, (int)step);
    return out;
}

double SoundRms(const std::vector<float>& stereo, int rate, double from, double to)
{
    size_t first = 2 * (size_t)(from * rate), last = std::min(stereo.size(), 2 * (size_t)(to * rate));
    double sum = 0.0;
    for (size_t i = first; i < last; i++)
        sum += (double)stereo[i] * stereo[i];
    return last > first ? std::sqrt(sum / (double)(last - first)) : 0.0;
}

double DominantHz(const std::vector<float>& stereo, int rate, double from, double to)
{
    std::vector<double> power = Spectrum(stereo, rate, from, to, 8000.0);
    size_t best = 10;
    for (size_t i = 10; i < power.size(); i++)
        if (power[i] > power[best])
            best = i;
    return 10.0 * (double)best;
}

double ShareAbove(const std::vector<float>& stereo, int rate, double from, double to, double hz)
{
    std::vector<double> power = Spectrum(stereo, rate, from, to, 0.5 * rate);
    double all = 0.0, above = 0.0;
    for (size_t i = 0; i < power.size(); i++) {
        all += power[i];
        above += 10.0 * (double)i > hz ? power[i] : 0.0;
    }
    return all > 0.0 ? above / all : 0.0;
}
