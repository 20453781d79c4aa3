// The step's side of the sound: the scene it posts, the events it counts, the
// sound switch and the sound options.
#include "sim/shell/sound_feed.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/camera.h"
#include "sim/shell/controls.h"
#include "sim/shell/net_client.h"
#include "sim/shell/replay_modes.h"
#include "sim/view/view_state.h"

int soundOn;
int soundVolume;
SoundEvents soundEvents;
SoundMailbox soundMailbox;

static const int SOUND_VOLUME_MAX = 100;

void ResetSoundState()
{
    soundOn = 1;
    soundVolume = SOUND_VOLUME_START;
    soundEvents = {};
    StartMailbox(soundMailbox, SoundScene());
}

// The whole text a whole number from 0 to 100.
static bool ParseVolume(const char* text, int& volume)
{
    if (!(text[0] >= '0' && text[0] <= '9'))
        return false;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v > SOUND_VOLUME_MAX)
        return false;
    volume = (int)v;
    return true;
}

bool TakeSoundOptions(int& argc, char** argv, char* error, size_t size)
{
    static const char VOLUME[] = "--volume";
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        const char* value = nullptr;
        if (strcmp(arg, "--mute") == 0) {
            soundOn = 0;
            continue;
        }
        if (strcmp(arg, VOLUME) == 0) {
            if (i + 1 >= argc) {
                snprintf(error, size, "--volume needs a value, a whole number from 0 to 100");
                return false;
            }
            value = argv[++i];
        } else if (strncmp(arg, VOLUME, sizeof VOLUME - 1) == 0 && arg[sizeof VOLUME - 1] == '=') {
            value = arg + sizeof VOLUME;
        } else {
            argv[kept++] = argv[i];
            continue;
        }
        if (!ParseVolume(value, soundVolume)) {
            snprintf(error, size, "--volume takes a whole number from 0 to 100, not \"%s\"", value);
            return false;
        }
    }
    argv[kept] = nullptr;
    argc = kept;
    return true;
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

SoundScene CurrentSoundScene()
{
    SoundScene s = {};
    s.spoolTarget = plane.thrust / THRUST_MAX;
    s.speed = plane.airspeed;
    s.onGround = landed;
    s.paused = paused || ReplayStandsStill();
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

static void WatchStep()
{
    SoundEvents& e = soundEvents;
    if (e.restartsWatched != e.restarts) {
        // The start pose: no flight to land from.
        e.restartsWatched = e.restarts;
        e.airborneSteps = 0;
    } else if (!paused && !ReplayStandsStill()) {
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

void FeedSound()
{
    WatchStep();
    PostScene(soundMailbox, CurrentSoundScene());
}
