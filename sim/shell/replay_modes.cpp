// --play, --timedemo and the instant replay: the replay driven by the window's
// timers and keys, and the live game put aside and back.
#include "sim/shell/replay_modes.h"

#include <GL/glut.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/life.h"
#include "sim/flight/remote_jets.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/shell/course_play.h"
#include "sim/shell/flight_state.h"
#include "sim/shell/friends_recorder.h"
#include "sim/shell/game_end.h"
#include "sim/shell/live_step.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay_file.h"
#include "sim/shell/replay.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/tick_schedule.h"
#include "sim/view/replay_view.h"
#include "sim/view/view_state.h"

enum ReplayMode { MODE_LIVE, MODE_PLAY, MODE_TIMEDEMO, MODE_INSTANT };

static int mode;
static const Recording* shownRecording; // --play and --timedemo
static bool held;                       // the viewer paused the replay
static bool over;                       // it ended or diverged
static bool diverged;
// The instant replay's flight (the live one, to the step Ctrl+R came at) and
// what it put aside of the live game.
static std::vector<RecordedFlight> instantFlights;
static std::vector<uint8_t> liveState;
static int liveViewMode;
static float liveChaseDistance;
static float liveOverheadHeight;
static Body liveCamera;
static SoundEvents liveSound;  // the sound's watcher as the live game left it
static ExplosionQuad liveQuad; // the live explosion's frame as last built
// How fast a replay goes: steps run per due step (4 while `f` is held).
static int replaySpeed;
// The other jets' messages the replay shows: a shared flight's side file in
// --play and --timedemo, the last seconds kept in the instant replay.
static std::vector<FriendsRecord> friendsShown;
static size_t nextFriend;
// The timedemo's frame times.
static std::vector<int64_t> frameNs;
static int64_t demoStartNs;
static int64_t demoSteps;

void ResetReplayModesState()
{
    mode = MODE_LIVE;
    shownRecording = nullptr;
    held = over = diverged = false;
    replaySpeed = 1;
    instantFlights.clear();
    liveState.clear();
    liveViewMode = 0;
    liveChaseDistance = liveOverheadHeight = 0.0f;
    liveCamera = Body();
    liveSound = SoundEvents();
    liveQuad = ExplosionQuad();
    friendsShown.clear();
    nextFriend = 0;
    frameNs.clear();
    demoStartNs = 0;
    demoSteps = 0;
}

static void Begin(int replayMode)
{
    mode = replayMode;
    held = over = diverged = false;
    replaySpeed = 1;
    replayBanner = BANNER_REPLAY;
    viewMode = VIEW_CHASE;
    chaseDistance = CHASE_DISTANCE_START;
}

void LoadFriendsBeside(const std::string& recordingPath)
{
    std::string path = recordingPath + FRIENDS_SUFFIX, damage;
    if (access(path.c_str(), F_OK) != 0)
        return;
    if (!ReadFriendsFile(path.c_str(), friendsShown, damage))
        fprintf(stderr, "pelorin: %s; the replay shows no other jets\n", damage.c_str());
    else if (!damage.empty())
        fprintf(stderr, "pelorin: %s; the other jets are shown up to there\n", damage.c_str());
    nextFriend = 0;
}

// Before each replayed step: the other jets' messages that came before it.
static void TakeFriendsDue()
{
    if (!friendsShown.empty())
        nextFriend = TakeFriendsRecordsDue(friendsShown, nextFriend, ReplayStepsDone());
}

void StartPlayMode(const Recording& recording)
{
    shownRecording = &recording;
    StartReplay(recording.flights, 0);
    Begin(MODE_PLAY);
}

[[noreturn]] static void FinishTimedemo()
{
    int64_t elapsed = MonotonicNs() - demoStartNs;
    std::vector<int64_t> sorted = frameNs;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted.empty() ? 0.0 : sorted[sorted.size() / 2] / 1e6;
    double p99 = sorted.empty() ? 0.0 : sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)] / 1e6;
    double seconds = elapsed / 1e9;
    printf("%lld steps, %lld frames in %.2f s: %.1f frames/s (median %.2f ms, p99 %.2f ms)\n", (long long)demoSteps,
           (long long)frameNs.size(), seconds, seconds > 0.0 ? frameNs.size() / seconds : 0.0, median, p99);
    fflush(stdout);
    FreeLife();
    exit(0);
}

// One step and the frame after it, until the recording has run out.
static void TimedemoIdle()
{
    int64_t start = MonotonicNs();
    if (demoStartNs == 0)
        demoStartNs = start;
    ReplayStatus status;
    do {
        TakeFriendsDue();
        status = ReplayStep();
    } while (status == REPLAY_NEXT_FLIGHT);
    if (status == REPLAY_DIVERGED) {
        ReportDivergence(*shownRecording, ReplayDivergedStep());
        FreeLife();
        exit(1);
    }
    if (status == REPLAY_ENDED)
        FinishTimedemo();
    demoSteps++;
    RenderScene();
    glFinish();
    frameNs.push_back(MonotonicNs() - start);
}

void StartTimedemoMode(const Recording& recording)
{
    shownRecording = &recording;
    StartReplay(recording.flights, 0);
    Begin(MODE_TIMEDEMO);
    frameNs.reserve(65536);
    glutIdleFunc(TimedemoIdle);
}

static void StepReplay(StepOutcome& outcome)
{
    ReplayStatus status;
    do {
        TakeFriendsDue();
        status = ReplayStep(&outcome);
    } while (status == REPLAY_NEXT_FLIGHT);
    if (status == REPLAY_STEPPED)
        return;
    if (mode == MODE_INSTANT) {
        if (status == REPLAY_DIVERGED)
            fprintf(stderr, "replay diverged at step %lld\n", (long long)ReplayDivergedStep());
        EndInstantReplay();
        return;
    }
    over = true;
    if (status == REPLAY_DIVERGED) {
        diverged = true;
        replayBanner = BANNER_DIVERGED;
        ReportDivergence(*shownRecording, ReplayDivergedStep());
    } else {
        replayBanner = BANNER_ENDED;
        printf("replay ended after %lld steps\n", (long long)ReplayStepsDone());
    }
}

static bool ReplayShown()
{
    return mode == MODE_PLAY || mode == MODE_INSTANT;
}

void RunOneStep()
{
    StepOutcome outcome = {};
    if (mode == MODE_LIVE) {
        outcome = RunLiveStep();
        FeedSound(outcome, ReplayStandsStill());
        if (outcome.quit)
            QuitGame();
        return;
    }
    // Faster is more of the same steps in the time of one: nothing is left
    // out, and each is heard as it ran. A replay that stands still is heard
    // standing still.
    bool stepped = false;
    for (int i = 0; i < replaySpeed && ReplayShown() && !held && !over; i++) {
        outcome = {};
        StepReplay(outcome);
        FeedSound(outcome, ReplayStandsStill());
        stepped = true;
    }
    if (!stepped)
        FeedSound(outcome, ReplayStandsStill());
}

// What a skip looks for: the throttle, the controls (the attitude they
// turn), the gear, a contact, the explosion, the pause and the restart
// question. The position moves on its own and is not in it.
struct ChangeWatch {
    float thrust;
    Vec3 dir, up;
    int gear, landed, exploding, paused, prompt, model;
};

static ChangeWatch WatchNow()
{
    return {plane.thrust, plane.dir, plane.up, gearDown, landed, explosionFrame != 0, paused, restartPrompt, flightModel};
}

static bool Differs(const ChangeWatch& a, const ChangeWatch& b)
{
    auto same = [](const Vec3& u, const Vec3& v) { return u.x == v.x && u.y == v.y && u.z == v.z; };
    return a.thrust != b.thrust || !same(a.dir, b.dir) || !same(a.up, b.up) || a.gear != b.gear ||
           a.landed != b.landed || a.exploding != b.exploding || a.paused != b.paused || a.prompt != b.prompt ||
           a.model != b.model;
}

// `s`: the replay runs on, undrawn, through the very steps it would show,
// to the step where something next changes (or its end) and shows it there.
static void SkipToChange()
{
    ChangeWatch before = WatchNow();
    while (ReplayShown() && !over) {
        StepOutcome outcome = {};
        StepReplay(outcome);
        FeedSound(outcome, ReplayStandsStill());
        if (Differs(before, WatchNow()))
            break;
    }
}

bool ReplayTakesKey(unsigned char key)
{
    if (key == KEY_CTRL_R) {
        if (mode == MODE_INSTANT)
            EndInstantReplay();
        else if (mode == MODE_LIVE)
            StartInstantReplay();
        return true;
    }
    if (mode == MODE_LIVE)
        return false;
    switch (key) {
    case REPLAY_FAST_KEY:
        replaySpeed = REPLAY_FAST_STEPS;
        return true;
    case REPLAY_SKIP_KEY:
        SkipToChange();
        return true;
    case 'p':
        if (!over) {
            held = !held;
            replayBanner = held ? BANNER_PAUSED : BANNER_REPLAY;
        }
        return true;
    case 'Q':
        // Q ends the game at any time; from the instant replay the live game
        // is put back first, so the recording ends where the game did.
        if (mode == MODE_INSTANT) {
            EndInstantReplay();
            QuitGame();
        }
        FreeLife();
        exit(diverged ? 1 : 0);
    case 'P': {
        // The state line of the replayed flight, at once.
        StepOutcome none = {};
        ApplyFlightKey('P', none);
        return true;
    }
    default:
        // The flying keys fly nothing; views and display switches work.
        return FlightKey(key);
    }
}

void ReplayKeyUp(unsigned char key, int /*x*/, int /*y*/)
{
    if (key == REPLAY_FAST_KEY)
        replaySpeed = 1;
}

bool ReplayShows()
{
    return mode != MODE_LIVE;
}

void NoteLiveExplosionFrame(const ExplosionQuad& quad)
{
    liveQuad = quad;
}

void StartInstantReplay()
{
    if (mode != MODE_LIVE || !RecorderOn())
        return;
    const RecordedFlight& live = LiveFlight();
    int64_t now = RecordedSteps();
    if (now <= live.firstStep)
        return;
    const std::vector<FlightSnapshot>& snapshots = LiveSnapshots();
    int64_t target = std::max(live.firstStep, now - INSTANT_REPLAY_STEPS);
    const FlightSnapshot* from = &snapshots.front();
    for (const FlightSnapshot& s : snapshots)
        if (s.step <= target)
            from = &s;
    // The replay runs to the step Ctrl+R came at and must end in the live
    // state: that is checked as a recording's end is.
    instantFlights.assign(1, live);
    instantFlights[0].ended = true;
    instantFlights[0].restarted = false;
    instantFlights[0].lastStep = now;
    instantFlights[0].finalDigest = FlightStateDigest();
    liveState = CaptureFlightState();
    liveViewMode = viewMode;
    liveChaseDistance = chaseDistance;
    liveOverheadHeight = overheadHeight;
    liveCamera = camera;
    liveSound = soundEvents;
    if (!StartReplayAt(instantFlights, 0, from->step, from->eventIndex, from->padRoll, from->padPitch, from->state)) {
        RestoreFlightState(liveState);
        return;
    }
    SuspendRecorder(true);
    SetCourseAside();
    // The friends' jets as they were seen then, in a sky of the replay's own:
    // the live one goes on receiving meanwhile.
    friendsShown = KeptFriendMessages();
    nextFriend = TakeFriendsRecordsDue(friendsShown, 0, from->step);
    Begin(MODE_INSTANT);
}

void EndInstantReplay()
{
    if (mode != MODE_INSTANT)
        return;
    RestoreFlightState(liveState);
    viewMode = liveViewMode;
    chaseDistance = liveChaseDistance;
    overheadHeight = liveOverheadHeight;
    camera = liveCamera;
    // The sound's watcher too, or the live jet rolling where the replayed
    // one flew would sound a touchdown.
    PutBackSoundWatcher(liveSound);
    mode = MODE_LIVE;
    held = over = false;
    replayBanner = BANNER_NONE;
    instantFlights.clear();
    friendsShown.clear();
    nextFriend = 0;
    ClearSky(replaySky);
    SuspendRecorder(false);
    PutCourseBack();
    // The live chain's timer waited meanwhile (ExplosionTick) and goes on.
    if (explosionFrame != 0 && replayExplosionShown)
        replayExplosionShown(liveQuad);
}

bool InstantReplayRunning()
{
    return mode == MODE_INSTANT;
}

bool ReplayStandsStill()
{
    return (mode == MODE_PLAY || mode == MODE_INSTANT) && (held || over);
}
