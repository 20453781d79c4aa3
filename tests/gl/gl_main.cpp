// Test entry for the GL tests; GLUT is initialised lazily by the fixture so
// that listing the tests needs no display.
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
