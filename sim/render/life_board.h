// The cell board in the world: a 1000 x 1000 square in the plane z = 500.
#pragma once

// Live cells black on white, facing -z and lit like the scene; expects the
// identity modelview. Draws nothing before the board has been started.
void DrawLifeBoard();
