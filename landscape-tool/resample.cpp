// Image to grid: separable resampling and the height scale.
#include "landscape-tool/resample.h"

#include <cmath>

namespace {

struct Tap {
    int index;
    float weight;
};

// For every output position along one axis, the input positions it draws on.
std::vector<std::vector<Tap>> AxisTaps(int from, int to)
{
    std::vector<std::vector<Tap>> taps(to);
    for (int o = 0; o < to; o++) {
        if (from > to) {
            // Output o covers input [lo, hi); each input pixel counts by the
            // length of its overlap.
            double scale = (double)from / to;
            double lo = o * scale, hi = (o + 1) * scale;
            int last = (int)std::ceil(hi) - 1;
            if (last > from - 1)
                last = from - 1;
            for (int i = (int)std::floor(lo); i <= last; i++) {
                double w = std::fmin(hi, i + 1.0) - std::fmax(lo, (double)i);
                if (w > 0.0)
                    taps[o].push_back({i, (float)(w / scale)});
            }
        } else {
            // Written so that from == to lands exactly on o.
            double pos = ((2.0 * o + 1.0) * from - to) / (2.0 * to);
            pos = std::fmax(0.0, std::fmin(pos, from - 1.0));
            int i = (int)std::floor(pos);
            double f = pos - i;
            taps[o].push_back({i, (float)(1.0 - f)});
            if (f > 0.0 && i + 1 < from)
                taps[o].push_back({i + 1, (float)f});
        }
    }
    return taps;
}

} // namespace

std::vector<float> ResampleImage(const GreyImage& image, int n)
{
    int w = image.width, h = image.height;
    std::vector<std::vector<Tap>> across = AxisTaps(w, n);
    std::vector<std::vector<Tap>> down = AxisTaps(h, n);
    // Across each row first (h x n), then down the columns (n x n).
    std::vector<float> rows((size_t)h * n);
    for (int y = 0; y < h; y++) {
        const uint16_t* in = &image.samples[(size_t)y * w];
        float* out = &rows[(size_t)y * n];
        for (int x = 0; x < n; x++) {
            float sum = 0.0f;
            for (const Tap& t : across[x])
                sum += t.weight * (float)in[t.index];
            out[x] = sum;
        }
    }
    std::vector<float> result((size_t)n * n, 0.0f);
    for (int y = 0; y < n; y++) {
        float* out = &result[(size_t)y * n];
        for (const Tap& t : down[y]) {
            const float* in = &rows[(size_t)t.index * n];
            for (int x = 0; x < n; x++)
                out[x] += t.weight * in[x];
        }
    }
    return result;
}

std::vector<int> HeightsFromSamples(const std::vector<float>& samples, int n, double whiteHeight, bool keepBorder)
{
    std::vector<int> heights((size_t)n * n, 0);
    for (int py = 0; py < n; py++) {
        for (int px = 0; px < n; px++) {
            bool border = px == 0 || py == 0 || px == n - 1 || py == n - 1;
            if (border && !keepBorder)
                continue;
            // Rounding in the averaging may stray a hair outside the range.
            double s = std::fmin(std::fmax((double)samples[(size_t)py * n + px], 0.0), 65535.0);
            double h = std::round(s * whiteHeight / 65535.0);
            heights[GridIndexOfPixel(px, py, n)] = (int)h;
        }
    }
    return heights;
}
