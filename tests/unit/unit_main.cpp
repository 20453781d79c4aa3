// Test entry for the unit tests: every case starts from the programs' start
// state, so the whole binary also passes as one process in any order.
#include <gtest/gtest.h>

#include "tests/support/start_state.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallStartStateListener();
    return RUN_ALL_TESTS();
}
