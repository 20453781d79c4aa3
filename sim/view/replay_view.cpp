// The replay banner the frame shows.
#include "sim/view/replay_view.h"

int replayBanner;

void ResetReplayView()
{
    replayBanner = BANNER_NONE;
}

const char* ReplayBannerText(int banner)
{
    switch (banner) {
    case BANNER_REPLAY:
        return "Replay";
    case BANNER_PAUSED:
        return "Replay paused";
    case BANNER_ENDED:
        return "Replay ended";
    case BANNER_DIVERGED:
        return "Replay diverged";
    default:
        return nullptr;
    }
}
