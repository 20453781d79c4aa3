// The texture set in a real context: nine texture objects with the state the
// drawing code relies on, the keyed alpha uploaded, and nothing loaded when
// textures are off at set-up.
#include "tests/gl/gl_fixture.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "sim/assets/textures.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

const unsigned ALL_TEXTURES[] = {TEX_FLOOR, TEX_TREE, TEX_EXPLOSION0, TEX_EXPLOSION1, TEX_EXPLOSION2,
                                 TEX_EXPLOSION3, TEX_METAL1, TEX_METAL2, TEX_SUN};

void EnterDataFolder()
{
    ASSERT_EQ(chdir((std::string(PELORIN_SOURCE_DIR) + "/data").c_str()), 0);
}

// Level 0 of a texture as RGBA bytes, with its size.
std::vector<unsigned char> TextureLevel0(unsigned name, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> pixels((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(GlTest, TextureSetCreatesNineTexturesWithRepeatAndMipmaps)
{
    EnterDataFolder();
    LoadTextureSet();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    for (unsigned name : ALL_TEXTURES) {
        ASSERT_TRUE(glIsTexture(name)) << name;
        glBindTexture(GL_TEXTURE_2D, name);
        GLint wrapS = 0, wrapT = 0, magnify = 0, minify = 0, width = 0, smallest = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnify);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 7, GL_TEXTURE_WIDTH, &smallest);
        EXPECT_EQ(wrapS, GL_REPEAT) << name;
        EXPECT_EQ(wrapT, GL_REPEAT) << name;
        EXPECT_EQ(magnify, GL_LINEAR) << name;
        EXPECT_EQ(minify, GL_LINEAR_MIPMAP_LINEAR) << name;
        EXPECT_GE(width, 128) << name;
        EXPECT_GE(smallest, 1) << name << ": mipmap chain incomplete";
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(GlTest, KeyedTexturesAreUploadedWithClearCornersAndUnkeyedOnesOpaque)
{
    EnterDataFolder();
    LoadTextureSet();
    for (unsigned name : ALL_TEXTURES) {
        int width = 0, height = 0;
        std::vector<unsigned char> p = TextureLevel0(name, width, height);
        ASSERT_GT(width, 0);
        bool keyed = name != TEX_FLOOR && name != TEX_METAL1 && name != TEX_METAL2;
        unsigned char corner = p[3], middle = p[((size_t)(height / 2) * width + width / 2) * 4 + 3];
        EXPECT_EQ(corner, keyed ? 0 : 255) << name;
        EXPECT_EQ(middle, 255) << name;
    }
}

TEST_F(GlTest, TexturesOffAtSetUpLoadNothing)
{
    EnterDataFolder();
    texturesOn = 0;
    SetupScene();
    for (unsigned name : ALL_TEXTURES)
        EXPECT_FALSE(glIsTexture(name)) << name;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

} // namespace
