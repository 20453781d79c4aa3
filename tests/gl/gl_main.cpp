// Test entry for the GL tests; GLUT is initialised lazily by the fixture so
// that listing the tests needs no display. Every case starts from the
// programs' start state.
#include <gtest/gtest.h>

#include "sim/view/view_state.h"
#include "tests/support/start_state.h"

namespace {

// The pictures these cases pin down are the classic display's; the cases of
// the instruments display switch it back.
class ClassicDisplayListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { classicDisplay = 1; }
};

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallStartStateListener();
    testing::UnitTest::GetInstance()->listeners().Append(new ClassicDisplayListener);
    return RUN_ALL_TESTS();
}
