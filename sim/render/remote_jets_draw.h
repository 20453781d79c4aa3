// Friends' jets drawn in a shared sky, their names above them and the list
// of players (Tab).
#pragma once

#include "sim/render/hud_layout.h"

// Beyond this many world units from the camera a friend's jet is drawn from
// a list of a few dozen faces instead of the model's thousands.
const float REMOTE_FAR_DISTANCE = 1500.0f;

// The friends' jets with their flames or explosions, under the frame's
// viewing transform; after the scenery, since their flames are translucent.
// Keeps where each name goes for the 2-D pass.
void DrawRemoteJets();
// In the 2-D pass: each friend's name above the jet, and the list of players
// while it is shown.
void DrawRemoteJetLabels(const HudLayout& layout);
