// Test entry for the GL tests; GLUT is initialised lazily by the fixture so
// that listing the tests needs no display. Every case starts from the
// programs' start state.
#include <gtest/gtest.h>

#include "tests/support/start_state.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallStartStateListener();
    return RUN_ALL_TESTS();
}
