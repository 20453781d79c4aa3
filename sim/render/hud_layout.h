// Where the head-up display draws its texts and marks in a window of a given
// size, and how large: plain arithmetic, no GL, so that it is tested without
// a window. In a 640 x 480 window, and in any window no larger, every value
// is the display's fixed one and the text keeps the toolkit's bitmap fonts.
// In a larger window the text grows with the window's height (with its width
// where the window is narrower than 4:3, so that a line still fits) and keeps
// its place: offsets on the panel grow with the panel, which spans the whole
// window, and offsets from a text grow with the text.
#pragma once

struct HudLayout {
    float textScale;           // the fonts' sizes times this; 1 up to 640 x 480
    float statusX, statusY;    // the status line (views 2 to 6)
    float thrustX, thrustY;    // the cockpit's instrument texts
    float speedX, speedY;
    float altitudeX, altitudeY;
    float gearLabelX, gearLabelY;
    float gearLampX, gearLampY;
    double gearLampRadius;
    float ballX, ballY;        // the attitude ball's centre
    double ballRadius;
    float ballLift;            // the white sphere's lift along the ball's turned up axis
    float ballDrop;            // then the black sphere's drop from it
    float pausedX;             // "Paused"
    float questionX;           // "Restart game? (Y/N)"
    float pauseY;              // both
    float crashCauseDrop;      // from the question's baseline down to the crash's cause
};

// The start size the fixed offsets were made for.
const float HUD_START_WIDTH = 640.0f;
const float HUD_START_HEIGHT = 480.0f;

// The layout for a window `width` x `height` pixels (each at least 1).
HudLayout LayOutHud(float width, float height);
// The same, shrunk with a window smaller than the start size (to a quarter
// of it at least), so that every text fits: the instruments display's layout.
HudLayout LayOutHudToFit(float width, float height);
const float HUD_LEAST_SCALE = 0.25f;
