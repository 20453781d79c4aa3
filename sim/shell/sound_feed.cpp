// The step's side of the sound: the scene it posts, the events it counts, the
// sound switch and the sound options.
#include "sim/shell/sound_feed.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/monotonic_clock.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/game_state.h"
#include "sim/flight/remote_jets.h"
#include "sim/render/camera.h"
#include "sim/view/view_state.h"

int soundOn;
int soundVolume;
SoundEvents soundEvents;
SoundMailbox soundMailbox;

void ResetSoundState()
{
    soundOn = 1;
    soundVolume = SOUND_VOLUME_START;
    soundEvents = {};
    StartMailbox(soundMailbox, SoundScene());
}

void ToggleSound()
{
    soundOn = soundOn ? 0 : 1;
    fputs(soundOn ? "Sound on\n" : "Sound off\n", stdout);
}

// Distance and bearing of the aircraft from the camera. The chase, orbit and
// overhead views keep the camera a set distance from the aircraft, looking at
// it, so they are known without the frame; in the fixed and tower views the
// camera stands where the frame or the mouse left it.
static void PlaceListener(SoundScene& s)
{
    s.cockpit = viewMode == VIEW_COCKPIT;
    s.distance = 0.0f;
    s.pan = 0.0f;
    switch (viewMode) {
    case VIEW_COCKPIT:
        break;
    case VIEW_CHASE:
    case VIEW_ORBIT:
        s.distance = std::fabs(chaseDistance);
        break;
    case VIEW_OVERHEAD:
        s.distance = std::fabs(overheadHeight);
        break;
    default: {
        Vec3 to = {plane.pos.x - camera.pos.x, plane.pos.y - camera.pos.y, plane.pos.z - camera.pos.z};
        float d = std::sqrt(Dot(to, to));
        s.distance = d;
        if (d > 0.0f && std::isfinite(d))
            s.pan = Dot(to, camera.normal) / d;
        break;
    }
    }
}

// The nearest friends' engines of the sky in view (the live one, or the
// one a replay shows as it was), placed for the listener: the cockpit, or
// the camera outside.
static void AddFriendEngines(SoundScene& scene)
{
    scene.friendCount = 0;
    const RemoteSky& sky = ShownSky();
    double now = ShownSkyNowS(MonotonicSeconds());
    if (RemoteJetCount(sky, now) == 0)
        return;
    bool cockpit = viewMode == VIEW_COCKPIT;
    Vec3 at = cockpit ? plane.pos : camera.pos, right;
    if (cockpit)
        right = plane.normal;
    else
        UnitCross(camera.dir, camera.up, right);
    for (const RemoteJet& jet : sky.jets) {
        RemotePose pose;
        if (!RemoteJetPose(jet, now, pose) || pose.exploding)
            continue;
        Vec3 to = {pose.body.pos.x - at.x, pose.body.pos.y - at.y, pose.body.pos.z - at.z};
        float d = Length(to);
        FriendEngine e = {pose.body.thrust / THRUST_MAX, d, d > 0.0f ? Dot(to, right) / d : 0.0f};
        // Keep the nearest: a farther one than all kept is not heard.
        int slot = scene.friendCount < SOUND_FRIENDS ? scene.friendCount++ : -1;
        if (slot < 0) {
            int farthest = 0;
            for (int i = 1; i < SOUND_FRIENDS; i++)
                if (scene.friends[i].distance > scene.friends[farthest].distance)
                    farthest = i;
            if (scene.friends[farthest].distance <= d)
                continue;
            slot = farthest;
        }
        scene.friends[slot] = e;
    }
}

SoundScene CurrentSoundScene(bool standsStill)
{
    SoundScene s = {};
    s.spoolTarget = plane.thrust / THRUST_MAX;
    s.speed = plane.airspeed;
    s.onGround = landed;
    s.paused = paused || standsStill;
    s.gearMoves = soundEvents.gearMoves;
    s.touchdowns = soundEvents.touchdowns;
    s.touchdownForce = soundEvents.touchdownForce;
    s.crashes = soundEvents.crashes;
    s.restarts = soundEvents.restarts;
    PlaceListener(s);
    s.soundOn = soundOn;
    s.volume = (float)soundVolume / (float)SOUND_VOLUME_MAX;
    AddFriendEngines(s);
    return s;
}

static void WatchStep(const StepOutcome& outcome, bool standsStill)
{
    SoundEvents& e = soundEvents;
    e.gearMoves += outcome.gearMoves;
    e.restarts += outcome.restarts;
    if (e.restartsWatched != e.restarts) {
        // The start pose: no flight to land from.
        e.restartsWatched = e.restarts;
        e.airborneSteps = 0;
    } else if (!paused && !standsStill) {
        if (landed) {
            if (e.airborneSteps >= TOUCHDOWN_MIN_AIRBORNE_STEPS) {
                float force = e.sink / TOUCHDOWN_HARDEST_SINK;
                e.touchdowns++;
                e.touchdownForce = force > 0.0f ? (force < 1.0f ? force : 1.0f) : 0.0f;
            }
            e.airborneSteps = 0;
        } else {
            if (e.airborneSteps < TOUCHDOWN_MIN_AIRBORNE_STEPS)
                e.airborneSteps++;
            e.sink = e.lastY - plane.pos.y;
        }
    }
    e.lastY = plane.pos.y;
    if (explosionFrame != 0 && e.lastExplosionFrame == 0)
        e.crashes++;
    e.lastExplosionFrame = explosionFrame;
}

void FeedSound(const StepOutcome& outcome, bool standsStill)
{
    WatchStep(outcome, standsStill);
    PostScene(soundMailbox, CurrentSoundScene(standsStill));
}

void PutBackSoundWatcher(const SoundEvents& kept)
{
    soundEvents.airborneSteps = kept.airborneSteps;
    soundEvents.lastY = kept.lastY;
    soundEvents.sink = kept.sink;
    soundEvents.lastExplosionFrame = kept.lastExplosionFrame;
}
