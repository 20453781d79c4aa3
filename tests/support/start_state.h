// Every test case starts as a program does: each global of both programs at
// its start value, the shared random generator at its first state, the
// working directory the test binary was started in and the "C" locale. The
// two test entries install it, so no case depends on what another left.
#pragma once

void InstallStartStateListener();
