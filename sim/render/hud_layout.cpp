// The head-up display's positions and sizes for a window size.
#include "sim/render/hud_layout.h"

#include <algorithm>

// The fixed offsets in pixels of a 640 x 480 window.
const float STATUS_X = 35.0f;
const float STATUS_Y = 20.0f;
const float THRUST_RIGHT = 40.0f, THRUST_UP = 25.0f; // right of W/4, above the bottom edge
const float SPEED_RIGHT = 30.0f, SPEED_UP = 55.0f;
const float ALTITUDE_RIGHT = 20.0f, ALTITUDE_UP = 85.0f;
const float GEAR_LAMP_RIGHT = 15.0f; // from the "Gear" label's start
const float GEAR_LAMP_DOWN = 10.0f;  // below its baseline
const float BALL_LIFT = 3.0f;
const float BALL_DROP = 1.5f;
const float PAUSED_LEFT = 50.0f;     // left of the centre
const float QUESTION_LEFT = 100.0f;
const float CRASH_CAUSE_DROP = 32.0f;

// `least`: the smallest share of the start size anything shrinks to.
static HudLayout LayOut(float width, float height, float least)
{
    float across = std::max(least, width / HUD_START_WIDTH);
    float up = std::max(least, height / HUD_START_HEIGHT);
    float text = std::min(across, up);
    float w = width, h = height;
    HudLayout l;
    l.textScale = text;
    l.statusX = STATUS_X * text;
    l.statusY = STATUS_Y * text;
    l.thrustX = w / 4 + THRUST_RIGHT * across;
    l.thrustY = THRUST_UP * up;
    l.speedX = w / 4 + SPEED_RIGHT * across;
    l.speedY = SPEED_UP * up;
    l.altitudeX = w / 4 + ALTITUDE_RIGHT * across;
    l.altitudeY = ALTITUDE_UP * up;
    l.gearLabelX = 0.625f * w;
    l.gearLabelY = h / 18;
    l.gearLampX = 0.625f * w + GEAR_LAMP_RIGHT * text;
    l.gearLampY = h / 18 - GEAR_LAMP_DOWN * text;
    l.gearLampRadius = 0.008 * h;
    l.ballX = 2 * w / 3;
    l.ballY = h / 7;
    l.ballRadius = 0.04 * h;
    l.ballLift = BALL_LIFT * up;
    l.ballDrop = BALL_DROP * up;
    l.pausedX = w * 0.5f - PAUSED_LEFT * text;
    l.questionX = w * 0.5f - QUESTION_LEFT * text;
    l.pauseY = h * 0.5f;
    l.crashCauseDrop = CRASH_CAUSE_DROP * text;
    return l;
}

HudLayout LayOutHud(float width, float height)
{
    // Each at least 1, so that nothing moves or shrinks below the start size.
    return LayOut(width, height, 1.0f);
}

HudLayout LayOutHudToFit(float width, float height)
{
    return LayOut(width, height, HUD_LEAST_SCALE);
}
