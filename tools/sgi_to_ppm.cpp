// sgi-to-ppm: decodes an SGI image with the simulator's own reader and writes
// it as a binary PPM (3 channels) or PAM with alpha (4 channels), top row
// first as those formats expect, so anyone can look inside an image.
#include <cstdio>
#include <cstdlib>

#include "sim/assets/sgi_image.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: sgi-to-ppm FILE.rgb OUT.ppm\n");
        return 2;
    }
    SgiImage* image = OpenSgiImage(argv[1]);
    if (!image) {
        fprintf(stderr, "%s: not an SGI image this reader can decode\n", argv[1]);
        return 1;
    }
    bool alpha = image->zsize == 4;
    CloseSgiImage(image);
    int width = 0, height = 0;
    unsigned char* pixels = ReadSgiImage(argv[1], &width, &height, alpha);
    if (!pixels) {
        fprintf(stderr, "%s: could not decode the image\n", argv[1]);
        return 1;
    }
    FILE* out = fopen(argv[2], "wb");
    if (!out) {
        fprintf(stderr, "%s: cannot write\n", argv[2]);
        free(pixels);
        return 1;
    }
    int channels = alpha ? 4 : 3;
    if (alpha)
        fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    else
        fprintf(out, "P6\n%d %d\n255\n", width, height);
    size_t rowBytes = (size_t)width * channels;
    bool ok = true;
    // The SGI format stores the bottom row first; PPM and PAM the top row.
    for (int y = height - 1; y >= 0 && ok; y--)
        ok = fwrite(pixels + (size_t)y * rowBytes, 1, rowBytes, out) == rowBytes;
    free(pixels);
    if (fclose(out) != 0 || !ok) {
        fprintf(stderr, "%s: write failed\n", argv[2]);
        return 1;
    }
    return 0;
}
