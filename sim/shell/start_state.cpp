// The simulator's start state: every owner's reset, top to bottom.
#include "sim/shell/start_state.h"

#include "common/random.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/clock.h"
#include "sim/flight/course_run.h"
#include "sim/flight/explosion.h"
#include "sim/flight/game_state.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/landing_score.h"
#include "sim/flight/life.h"
#include "sim/landscape/terrain.h"
#include "sim/render/camera.h"
#include "sim/render/course_draw.h"
#include "sim/render/hud_text.h"
#include "sim/render/sky.h"
#include "sim/shell/controls.h"
#include "sim/shell/course_play.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/live_step.h"
#include "sim/shell/pilot_keys.h"
#include "sim/shell/net_client.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/scene.h"
#include "sim/shell/settings.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/timers.h"
#include "sim/view/replay_view.h"
#include "sim/view/view_state.h"
#include "toolkit/window_mode.h"

void ResetSimulation()
{
    ResetControlsState();
    ResetPilotKeysState();
    ResetLiveStepState();
    ResetCoursePlayState();
    ResetPadState();
    ResetRecorderState();
    ResetReplayState();
    ResetReplayModesState();
    ResetSceneState();
    ResetTimersState();
    ResetWindowModeState();
    ResetCameraState();
    ResetCourseDrawState();
    ResetHudTextState();
    ResetSkyState();
    ResetAircraftState();
    ResetClockState();
    ResetContactState();
    ResetGameState();
    ResetExplosionState();
    ResetLifeState();
    ResetCourseState();
    ResetLandingScoreState();
    ResetTerrainState();
    ResetViewState();
    ResetReplayView();
    ResetRandom();
    ResetSoundState();
    ResetSettingsState();
    ResetNetState();
}
