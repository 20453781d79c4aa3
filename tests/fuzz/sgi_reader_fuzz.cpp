// libFuzzer target: the SGI reader over arbitrary bytes, in both output forms.
// fuzz-sources: sim/assets/sgi_image.cpp
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "sim/assets/sgi_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (bool wantAlpha : {false, true}) {
        int width = 0, height = 0;
        unsigned char* pixels = DecodeSgiImage(data, size, &width, &height, wantAlpha);
        if (pixels) {
            // Touch the last byte so a short allocation shows up under ASan.
            size_t bytes = (size_t)width * height * (wantAlpha ? 4 : 3);
            volatile unsigned char last = pixels[bytes - 1];
            (void)last;
            free(pixels);
        }
    }
    return 0;
}
