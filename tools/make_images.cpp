// make-images: draws the nine delivered texture images and writes them as SGI
// files into a folder (default "data"). Fully deterministic: the same bytes
// on every run and every machine, so the committed files can be regenerated
// and compared.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/sgi_writer.h"

struct Colour {
    float r, g, b;
};

static const Colour WHITE = {255, 255, 255};
static const Colour SKY_BLUE = {135, 206, 235}; // removed by the sun key
static const Colour TREE_BACKGROUND = {232, 236, 232}; // removed by the tree key

// Integer hash of a lattice point, 0..1; the seed picks an independent field.
static float Hash(int x, int y, int seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + (uint32_t)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (float)(h & 0xFFFFFF) / (float)0xFFFFFF;
}

static float Smooth(float t)
{
    return t * t * (3 - 2 * t);
}

// Value noise with `cells` lattice cells across a period of `size` pixels in
// x and in y; wrapping the lattice makes it tile without a seam.
static float PeriodicNoise(float x, float y, int size, int cellsX, int cellsY, int seed)
{
    float fx = x * cellsX / size, fy = y * cellsY / size;
    int ix = (int)floorf(fx), iy = (int)floorf(fy);
    float tx = Smooth(fx - ix), ty = Smooth(fy - iy);
    auto at = [&](int i, int j) {
        return Hash(((i % cellsX) + cellsX) % cellsX, ((j % cellsY) + cellsY) % cellsY, seed);
    };
    float a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    float b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

// Sum of octaves of periodic noise, 0..1, tiling over `size` pixels.
static float Fractal(float x, float y, int size, int cells, int octaves, int seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; o++) {
        sum += amplitude * PeriodicNoise(x, y, size, cells << o, cells << o, seed + o);
        weight += amplitude;
        amplitude *= 0.5f;
    }
    return sum / weight;
}

static Colour Mix(Colour a, Colour b, float t)
{
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

static Colour Scale(Colour c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

static unsigned char Byte(float v)
{
    return (unsigned char)(v < 0 ? 0 : (v > 255 ? 255 : lroundf(v)));
}

static SgiPicture NewPicture(int width, int height, int channels)
{
    SgiPicture p;
    p.width = width;
    p.height = height;
    p.channels = channels;
    p.pixels.assign((size_t)width * height * channels, 0);
    return p;
}

static void Put(SgiPicture& p, int x, int y, Colour c, unsigned char alpha = 255)
{
    unsigned char* px = &p.pixels[((size_t)y * p.width + x) * p.channels];
    px[0] = Byte(c.r);
    px[1] = Byte(c.g);
    px[2] = Byte(c.b);
    if (p.channels == 4)
        px[3] = alpha;
}

// Grass with patches of bare soil and small stones; every noise field wraps
// at 256 pixels, so the tile repeats without a seam.
static SgiPicture DrawFloor()
{
    const int size = 256;
    SgiPicture p = NewPicture(size, size, 3);
    const Colour grassDark = {88, 128, 52}, grassLight = {150, 186, 92};
    const Colour soilDark = {118, 92, 62}, soilLight = {168, 138, 100};
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float patch = Fractal(x, y, size, 4, 4, 11);
            float tone = Fractal(x, y, size, 16, 3, 23);
            float blade = PeriodicNoise(x, y, size, 128, 32, 37); // stretched: blades
            float grit = Hash(x, y, 41);
            Colour grass = Mix(grassDark, grassLight, 0.6f * tone + 0.4f * blade);
            Colour soil = Mix(soilDark, soilLight, 0.5f * tone + 0.5f * grit);
            float soilAmount = (patch - 0.56f) * 10.0f;
            Colour c = Mix(grass, soil, soilAmount);
            if (grit > 0.985f && soilAmount > 0.5f)
                c = Mix(c, Colour{200, 196, 186}, 0.8f); // pebbles in the soil
            Put(p, x, y, Scale(c, 0.92f + 0.16f * grit));
        }
    return p;
}

// Brushed metal: fine streaks along one axis, a faint sheen across, and for
// the pillar texture two rows of rivets.
static SgiPicture DrawMetal(int width, int height, bool vertical, Colour base, int seed, bool rivets)
{
    SgiPicture p = NewPicture(width, height, 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            float along = vertical ? y : x, across = vertical ? x : y;
            int lengthAlong = vertical ? height : width, lengthAcross = vertical ? width : height;
            float streak = PeriodicNoise(along, across, lengthAlong, 4, lengthAcross, seed);
            float fine = PeriodicNoise(along, across, lengthAlong, 16, lengthAcross / 2, seed + 1);
            float sheen = 0.5f + 0.5f * cosf(6.2831853f * across / lengthAcross);
            float k = 0.78f + 0.16f * streak + 0.08f * fine + 0.08f * sheen;
            Colour c = Scale(base, k);
            if (rivets) {
                float cx = x < width / 2 ? width * 0.18f : width * 0.82f;
                float cy = (floorf(y / 32.0f) + 0.5f) * 32.0f;
                float d = hypotf(x - cx, y - cy);
                if (d < 4.5f)
                    c = Scale(base, 1.15f - 0.08f * (x - cx + y - cy)); // lit from the upper left
                else if (d < 6.0f)
                    c = Scale(base, 0.55f);
            }
            Put(p, x, y, c);
        }
    return p;
}

// A fireball on white; `stage` 0..3 grows it and darkens it into smoke.
// Every fireball colour keeps blue below 160, so the explosion key removes
// only the background and its faint fringe.
static SgiPicture DrawExplosion(int stage, int channels)
{
    const int size = 128;
    SgiPicture p = NewPicture(size, size, channels);
    const float radius = 26.0f + 11.0f * stage;
    const Colour core = {255, 244, 150}, middle = {255, 150, 30}, rim = {196, 44, 12}, smoke = {78, 64, 56};
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
            float d = hypotf(dx, dy);
            float angle = atan2f(dy, dx);
            // Billows: the edge wobbles with the angle and with noise.
            float billow = 0.16f * sinf(7 * angle + stage) + 0.22f * (Fractal(x, y, size, 4, 3, 50 + stage) - 0.5f);
            float edge = radius * (1.0f + billow);
            float t = d / edge; // 0 centre, 1 edge
            if (t >= 1.0f) {
                Put(p, x, y, WHITE, 0);
                continue;
            }
            Colour c = t < 0.45f ? Mix(core, middle, t / 0.45f) : Mix(middle, rim, (t - 0.45f) / 0.55f);
            float soot = Fractal(x, y, size, 8, 3, 70 + stage);
            float smokeAmount = (stage * 0.22f) * (t + 0.3f) + (soot - 0.6f) * stage * 0.8f;
            c = Mix(c, smoke, smokeAmount);
            // Soft rim into the background, but never so pale that the key
            // would cut holes inside the fireball.
            float fringe = (t - 0.92f) / 0.08f;
            if (fringe > 0)
                c = Mix(c, Colour{250, 210, 150}, fringe);
            if (c.b > 150)
                c.b = 150;
            Put(p, x, y, c, 255);
        }
    return p;
}

// A conifer: trunk from the bottom row, three tiers of needles with ragged
// edges, every pixel with a channel below 80 so the tree key keeps it.
static SgiPicture DrawTree()
{
    const int size = 192;
    SgiPicture p = NewPicture(size, size, 3);
    const Colour bark = {92, 62, 34}, needlesDark = {22, 70, 28}, needlesLight = {52, 118, 44};
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float cx = x + 0.5f - size / 2.0f;
            float v = (float)y / size; // 0 bottom, 1 top
            float noise = Fractal(x, y, size, 12, 3, 90);
            Colour c = TREE_BACKGROUND;
            bool needles = false;
            // Tiers: each a triangle narrowing upwards, bases at 0.18, 0.42, 0.64.
            const float base[3] = {0.16f, 0.40f, 0.62f}, top[3] = {0.56f, 0.78f, 0.97f}, half[3] = {0.44f, 0.34f, 0.24f};
            for (int tier = 0; tier < 3; tier++) {
                if (v < base[tier] || v > top[tier])
                    continue;
                float w = half[tier] * (top[tier] - v) / (top[tier] - base[tier]);
                w *= 0.85f + 0.3f * noise + 0.06f * sinf(v * 90.0f);
                if (fabsf(cx) / size < w)
                    needles = true;
            }
            if (needles) {
                float light = 0.55f * noise + 0.45f * (cx < 0 ? 0.7f : 0.3f);
                c = Mix(needlesDark, needlesLight, light);
            } else if (v < 0.24f && fabsf(cx) < size * 0.045f) {
                c = Scale(bark, 0.8f + 0.4f * Hash(x / 2, y, 95));
            }
            Put(p, x, y, c);
        }
    return p;
}

// A bright disc with twelve tapering rays and a soft glow on the sky blue the
// sun key removes; only untouched background keeps red exactly 135.
static SgiPicture DrawSun()
{
    const int size = 128;
    SgiPicture p = NewPicture(size, size, 3);
    const Colour disc = {255, 252, 226}, rimColour = {255, 226, 112}, rayColour = {255, 236, 150};
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
            float d = hypotf(dx, dy), angle = atan2f(dy, dx);
            const float discRadius = 20.0f, rayEnd = 60.0f;
            Colour c = SKY_BLUE;
            if (d < discRadius) {
                c = Mix(disc, rimColour, powf(d / discRadius, 3.0f));
            } else {
                float rays = powf(fabsf(cosf(6.0f * angle)), 24.0f * d / rayEnd);
                float reach = 1.0f - (d - discRadius) / (rayEnd - discRadius);
                float ray = reach > 0 ? rays * reach : 0;
                float glow = expf(-(d - discRadius) / 6.0f) * 0.8f;
                float a = ray > glow ? ray : glow;
                if (a > 0.02f)
                    c = Mix(SKY_BLUE, rayColour, a);
            }
            Put(p, x, y, c);
        }
    return p;
}

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "data";
    struct Output {
        const char* name;
        SgiPicture picture;
        bool rle;
    };
    const Colour steel = {176, 182, 190}, darkSteel = {120, 126, 136};
    Output outputs[] = {
        {"floor.rgb", DrawFloor(), false},
        {"metal1.rgb", DrawMetal(256, 128, false, steel, 200, false), false},
        {"metal2.rgb", DrawMetal(128, 256, true, darkSteel, 300, true), true},
        {"explosion0.rgba", DrawExplosion(0, 4), true},
        {"explosion1.rgb", DrawExplosion(1, 3), false},
        {"explosion2.rgb", DrawExplosion(2, 3), true},
        {"explosion3.rgb", DrawExplosion(3, 3), true},
        {"tree.rgb", DrawTree(), true},
        {"sun.rgb", DrawSun(), true},
    };
    for (const Output& o : outputs) {
        std::string path = dir + "/" + o.name;
        if (!WriteSgiFile(path.c_str(), o.picture, o.rle)) {
            fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
        printf("%s: %d x %d, %d channels, %s\n", path.c_str(), o.picture.width, o.picture.height,
               o.picture.channels, o.rle ? "run-length encoded" : "verbatim");
    }
    return 0;
}
