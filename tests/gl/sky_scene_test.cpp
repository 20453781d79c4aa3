// Whole frames at chosen times of day, saved as pictures under the build's
// screenshots folder: dusk, night with the moon, and the sun with its halo.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "sim/flight/clock.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/render/sky.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

static std::string ShotsFolder()
{
    char exe[PATH_MAX] = {0};
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string dir = n > 0 ? std::string(exe, (size_t)n) : std::string(".");
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/screenshots";
}

// The whole scene set-up, run where the delivered images and landscape are.
static void SetUpWorld()
{
    ASSERT_EQ(chdir(PELORIN_SOURCE_DIR "/data"), 0);
    SetupScene();
    Reshape(640, 480);
}

// Draws one frame and keeps it as NAME.png. The frame swaps at its end; the
// software rasteriser of the test display copies on a swap, so the back
// buffer still holds the picture.
static std::vector<unsigned char> RenderAndSave(const char* name)
{
    std::string shots = ShotsFolder();
    RenderScene();
    glFinish();
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::string ppm = shots + "/" + name + ".ppm";
    if (system(("mkdir -p '" + shots + "'").c_str()) == 0) {
        if (FILE* f = fopen(ppm.c_str(), "wb")) {
            fprintf(f, "P6\n640 480\n255\n");
            for (int y = 479; y >= 0; y--)
                fwrite(&rgb[(size_t)y * 640 * 3], 1, 640 * 3, f);
            fclose(f);
            std::string png = shots + "/" + name + ".png";
            if (system(("/usr/bin/convert '" + ppm + "' '" + png + "'").c_str()) == 0)
                remove(ppm.c_str());
        }
    }
    return rgb;
}

static Rgb At(const std::vector<unsigned char>& rgb, int x, int y)
{
    const unsigned char* p = &rgb[((size_t)y * 640 + x) * 3];
    return {p[0], p[1], p[2]};
}

static int CountNear(const std::vector<unsigned char>& rgb, Rgb want, int tolerance)
{
    int n = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        n += Near({rgb[i], rgb[i + 1], rgb[i + 2]}, want, tolerance);
    return n;
}

// A still camera (view 3) at pos looking along dir.
static void FixCamera(Vec3 pos, Vec3 dir, Vec3 up)
{
    viewMode = 3;
    camera.pos = pos;
    camera.dir = dir;
    camera.up = up;
    UnitCross(camera.dir, camera.up, camera.normal);
}

TEST_F(GlTest, SceneAtDuskShowsTheSunOnTheHorizonUnderADarkeningSky)
{
    SetUpWorld();
    // 80 degrees: the sun ten degrees above the horizon towards +x, -z, and
    // 60 frames of dusk already behind.
    sunAngle = 80.0f;
    for (int c = 0; c < 3; c++)
        skyColour[c] -= 0.6f;
    // High above the mountains, looking straight at the sun.
    FixCamera({3075.0f, 12000.0f, -9470.0f}, {0.7129f, 0.1325f, -0.6886f}, {0.0f, 1.0f, 0.0f});
    std::vector<unsigned char> frame = RenderAndSave("sky_dusk");
    // One more frame of dusk darkened the clear colour again.
    Rgb sky = {(int)((0.53f - 0.61f > 0 ? 0.53f - 0.61f : 0) * 255 + 0.5f), (int)((0.81f - 0.61f) * 255 + 0.5f),
               (int)((0.92f - 0.61f) * 255 + 0.5f)};
    EXPECT_TRUE(Near(At(frame, 320, 470), sky, 2)) << At(frame, 320, 470);
    Rgb sun = At(frame, 320, 240);
    EXPECT_TRUE(sun.r >= 229 && sun.g >= 229 && sun.b >= 216) << "the sun low in the sky " << sun;
}

TEST_F(GlTest, SceneAtNightShowsTheMoonInTheBlackSky)
{
    SetUpWorld();
    sunAngle = 180.0f;
    moonAngle = 150.0f; // 60 degrees up towards +x, in the middle of the view
    for (int c = 0; c < 3; c++)
        skyColour[c] = -0.5f;
    FixCamera({3075.0f, 400.0f, -9470.0f}, {0.5f, 0.8660f, 0.0f}, {-0.8660f, 0.5f, 0.0f});
    std::vector<unsigned char> frame = RenderAndSave("sky_night_moon");
    EXPECT_TRUE(Near(At(frame, 320, 470), {0, 0, 0}, 0)) << At(frame, 320, 470);
    EXPECT_GT(CountNear(frame, {230, 230, 217}, 3), 20) << "the moon's disc";
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
}

TEST_F(GlTest, SceneAtNoonShowsTheSunOverheadWithItsHalo)
{
    SetUpWorld();
    sunAngle = 0.0f;
    moonAngle = 0.0f;
    // Looking straight up from above the origin, screen up towards -z.
    FixCamera({0.0f, 400.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
    sunHaloOn = 1;
    std::vector<unsigned char> halo = RenderAndSave("sky_noon_halo");
    sunHaloOn = 0;
    std::vector<unsigned char> bare = RenderAndSave("sky_noon_bare");
    Rgb sky = {135, 207, 235};
    EXPECT_TRUE(Near(At(bare, 10, 470), sky, 2)) << At(bare, 10, 470);
    Rgb sun = At(bare, 320, 240);
    EXPECT_TRUE(sun.r >= 229 && sun.g >= 229 && sun.b >= 216) << "the sun's sphere " << sun;
    // The halo lights up the sky around the sphere.
    int bareSky = 0, haloSky = 0;
    for (int y = 240 - 30; y < 240 + 30; y++)
        for (int x = 320 - 30; x < 320 + 30; x++) {
            bareSky += Near(At(bare, x, y), sky, 2);
            haloSky += Near(At(halo, x, y), sky, 2);
        }
    EXPECT_GT(bareSky - haloSky, 200) << bareSky << " sky pixels without the halo, " << haloSky << " with it";
}
