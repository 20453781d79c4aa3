// Loudness and spectrum of rendered sound, for the sound's tests and sound-stats.
#include "tests/support/sound_analysis.h"

#include <cmath>
#include <complex>

#include "sim/sound/synth.h"

namespace {

const double PI = 3.14159265358979323846;

// Mono sum of [from, to) seconds, cut to the largest power of two.
std::vector<std::complex<double>> Stretch(const std::vector<float>& stereo, int rate, double from, double to)
{
    size_t first = (size_t)(from * rate), last = (size_t)(to * rate);
    if (last > stereo.size() / 2)
        last = stereo.size() / 2;
    size_t n = 1;
    while (first + 2 * n <= last)
        n *= 2;
    std::vector<std::complex<double>> x(n);
    for (size_t i = 0; i < n && first + i < last; i++) {
        double hann = 0.5 - 0.5 * std::cos(2.0 * PI * (double)i / (double)n);
        x[i] = hann * 0.5 * ((double)stereo[2 * (first + i)] + (double)stereo[2 * (first + i) + 1]);
    }
    return x;
}

void Fft(std::vector<std::complex<double>>& x)
{
    size_t n = x.size();
    for (size_t i = 1, j = 0; i < n; i++) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> w(std::cos(2.0 * PI / (double)len), -std::sin(2.0 * PI / (double)len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wk(1.0, 0.0);
            for (size_t k = 0; k < len / 2; k++) {
                std::complex<double> a = x[i + k], b = x[i + k + len / 2] * wk;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
                wk *= w;
            }
        }
    }
}

// Power per bin up to half the rate, and the width of a bin in Hz.
std::vector<double> Spectrum(const std::vector<float>& stereo, int rate, double from, double to, double& binHz)
{
    std::vector<std::complex<double>> x = Stretch(stereo, rate, from, to);
    Fft(x);
    binHz = (double)rate / (double)x.size();
    std::vector<double> power(x.size() / 2);
    for (size_t i = 0; i < power.size(); i++)
        power[i] = std::norm(x[i]);
    return power;
}

} // namespace

std::vector<float> RenderSound(SoundMixer& mixer, const SoundScene& scene, double seconds)
{
    int step = (int)mixer.rate / 100;
    int steps = (int)std::lround(seconds * 100.0);
    std::vector<float> out(2 * (size_t)step * (size_t)steps);
    for (int i = 0; i < steps; i++)
        MixSound(mixer, scene, out.data() + 2 * (size_t)step * (size_t)i, step);
    return out;
}

double SoundRms(const std::vector<float>& stereo, int rate, double from, double to)
{
    size_t first = 2 * (size_t)(from * rate), last = 2 * (size_t)(to * rate);
    if (last > stereo.size())
        last = stereo.size();
    double sum = 0.0;
    for (size_t i = first; i < last; i++)
        sum += (double)stereo[i] * stereo[i];
    return last > first ? std::sqrt(sum / (double)(last - first)) : 0.0;
}

double DominantHz(const std::vector<float>& stereo, int rate, double from, double to)
{
    double binHz;
    std::vector<double> power = Spectrum(stereo, rate, from, to, binHz);
    size_t best = 0;
    for (size_t i = (size_t)(100.0 / binHz); i < power.size(); i++)
        if (power[i] > power[best])
            best = i;
    return (double)best * binHz;
}

double ShareAbove(const std::vector<float>& stereo, int rate, double from, double to, double hz)
{
    double binHz;
    std::vector<double> power = Spectrum(stereo, rate, from, to, binHz);
    double all = 0.0, above = 0.0;
    for (size_t i = 0; i < power.size(); i++) {
        all += power[i];
        if ((double)i * binHz > hz)
            above += power[i];
    }
    return all > 0.0 ? above / all : 0.0;
}
