// A course in the world and on the head-up display: the gates as hoops, the
// ghost of the best run, the course clock, the split of the last gate, the
// arrow to the next gate when it is off screen, and the landing score.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/math/vec_math.h"
#include "sim/render/hud.h"
#include "sim/render/hud_layout.h"

// One step of the ghost's flight: the aircraft's pose and gear.
struct GhostPose {
    Vec3 pos, dir, up;
    int gearDown;
};

// A line shown for a while: its colour and the steps it has left.
struct HudNotice {
    char text[HUD_TEXT_SIZE];
    float red, green, blue;
    int stepsLeft;
};

// The ghost's poses, one per step of its course clock (index 0: it passed
// the first gate); empty without a ghost.
extern std::vector<GhostPose> ghostPoses;
// The last gate's split (two seconds) and the last touchdown's score (five).
extern HudNotice splitNotice;
extern HudNotice touchdownNotice;

// No GL: where a point lies for the camera `eye` (a unit dir and up) with a
// vertical field of view `fovDegrees` and width / height `aspect`; true when
// it is on screen. `angle` (radians, 0 to the right, counter-clockwise) says
// which way to turn to it, also for a point behind the camera.
bool PointOnScreen(const Body& eye, const Vec3& point, float fovDegrees, float aspect, float& angle);
// No GL: whether any of a sphere can be in the camera's view (the view's
// four sides only; no near or far limit).
bool SphereInView(const Body& eye, const Vec3& centre, float radius, float fovDegrees, float aspect);
// No GL: the hoop's colour and alpha for the gate `index` when `next` is to be
// passed next: lit, faint for the one after, dim for the rest; false for a
// gate already passed (not drawn).
bool GateColour(size_t index, size_t next, float rgba[4]);

// The gates not yet passed, and the ghost at the pose of the course clock;
// with the world's projection in place, after the opaque scenery.
void DrawCourseWorld();
// The course's texts and arrow, in the 2-D pass; the touchdown's score too.
void DrawCourseHud(const HudLayout& l);
// No ghost, no notices: the start state.
void ResetCourseDrawState();
