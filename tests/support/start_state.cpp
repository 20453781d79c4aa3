// The listener that puts both programs back to their start before each case.
#include "tests/support/start_state.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "editor/start_state.h"
#include "sim/shell/start_state.h"

namespace {

class StartStateListener : public testing::EmptyTestEventListener {
public:
    explicit StartStateListener(std::string folder) : startFolder(std::move(folder)) {}

    void OnTestStart(const testing::TestInfo&) override
    {
        if (chdir(startFolder.c_str()) != 0) {
            perror(startFolder.c_str());
            abort();
        }
        setlocale(LC_ALL, "C");
        ResetSimulation();
        editor::ResetEditor();
    }

private:
    std::string startFolder;
};

} // namespace

void InstallStartStateListener()
{
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) {
        perror("getcwd");
        abort();
    }
    testing::UnitTest::GetInstance()->listeners().Append(new StartStateListener(folder));
}
