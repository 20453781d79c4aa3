// sound-stats FILE RATE FROM TO [FROM TO ...]: for each stretch (seconds) of
// a raw 16-bit stereo recording, such as SDL's disk audio driver writes,
// prints its RMS (full scale 1) and its strongest frequency in Hz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/support/sound_analysis.h"

int main(int argc, char** argv)
{
    if (argc < 5 || argc % 2 != 1) {
        fprintf(stderr, "usage: sound-stats FILE RATE FROM TO [FROM TO ...]\n");
        return 2;
    }
    FILE* f = fopen(argv[1], "rb");
    if (!f) {
        perror(argv[1]);
        return 1;
    }
    std::vector<float> stereo;
    unsigned char b[2];
    while (fread(b, 1, 2, f) == 2)
        stereo.push_back((float)(int16_t)(uint16_t)(b[0] | (b[1] << 8)) / 32768.0f);
    fclose(f);
    int rate = atoi(argv[2]);
    for (int i = 3; i + 1 < argc; i += 2) {
        double from = atof(argv[i]), to = atof(argv[i + 1]);
        printf("%.6f %.1f\n", SoundRms(stereo, rate, from, to), DominantHz(stereo, rate, from, to));
    }
    return 0;
}
