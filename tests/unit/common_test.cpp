// The shared random generator and height colour rule.
#include <gtest/gtest.h>

#include "common/height_colour.h"
#include "common/random.h"

TEST(NextRandom, StartsFromStateOneWithTheKnownSequence)
{
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(NextRandom(), value);
    for (int i = 0; i < 100000; i++) {
        int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(HeightColour, GroundAtZeroAndBelow)
{
    for (float h : {0.0f, -5.0f}) {
        Colour3 c = HeightColour(h);
        EXPECT_EQ(c.r, 0.3f);
        EXPECT_EQ(c.g, 0.5f);
        EXPECT_EQ(c.b, 0.1f);
    }
}

TEST(HeightColour, BlendsTowardsThePeakAndGoesOnPast8000)
{
    Colour3 c = HeightColour(8000);
    EXPECT_FLOAT_EQ(c.r, 0.65f);
    EXPECT_FLOAT_EQ(c.g, 0.16f);
    EXPECT_FLOAT_EQ(c.b, 0.16f);
    c = HeightColour(4000);
    EXPECT_FLOAT_EQ(c.r, 0.475f);
    EXPECT_FLOAT_EQ(c.g, 0.33f);
    EXPECT_FLOAT_EQ(c.b, 0.13f);
    c = HeightColour(16000);
    EXPECT_NEAR(c.r, 1.0f, 1e-6);
    EXPECT_NEAR(c.g, -0.18f, 1e-6);
    EXPECT_NEAR(c.b, 0.22f, 1e-6);
}
