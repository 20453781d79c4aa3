// What the frame says about a replay on the screen: the shell's replay sets
// it, the frame draws it in a corner.
#pragma once

enum ReplayBanner {
    BANNER_NONE,     // live play
    BANNER_REPLAY,   // a replay runs
    BANNER_PAUSED,   // the viewer paused it
    BANNER_ENDED,    // it has shown every recorded step
    BANNER_DIVERGED, // it stopped where the game no longer followed the recording
};

extern int replayBanner; // a ReplayBanner

// The banner's words; null for BANNER_NONE.
const char* ReplayBannerText(int banner);
// Live play: the start state.
void ResetReplayView();
