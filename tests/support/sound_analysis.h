// Measures of rendered sound for the tests: loudness, the strongest
// frequency, the share of energy above a frequency. Interleaved stereo in;
// each measure is of the mono sum of a stretch given in seconds.
#pragma once

#include <vector>

struct SoundMixer;
struct SoundScene;

// Mixes `seconds` of the scene in the 10 ms pieces the game's steps post.
std::vector<float> RenderSound(SoundMixer& mixer, const SoundScene& scene, double seconds);
double SoundRms(const std::vector<float>& stereo, int rate, double from, double to);
// The strongest spectral line from 100 Hz up, to 10 Hz.
double DominantHz(const std::vector<float>& stereo, int rate, double from, double to);
// Fraction of the stretch's energy above `hz`.
double ShareAbove(const std::vector<float>& stereo, int rate, double from, double to, double hz);
