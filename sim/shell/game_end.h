// The game's wrap-up, the same for every way out: Q, the answer no, the
// controller's no, the window's close.
#pragma once

// The recording finished, the controller let go, the cell boards released.
void FinishGame();
// FinishGame, then the program ends with status 0.
[[noreturn]] void QuitGame();
