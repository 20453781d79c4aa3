// Records the regression flights the tests replay: each a scripted pilot
// (keys, arrows, a controller) filling each step's input record as the
// game's callbacks do, stepped and recorded by the live game's own
// RunRecordedStep, with the explosion's 6 ms frames falling between the
// 10 ms steps as they do in the game. A change to the
// flight on purpose runs it again (scripts/rerecord.sh) in the same commit.
//
//   make-recordings DIR [NAME...]   run in data/, writes DIR/NAME.rec for each
//                                   flight (or the flights named)
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/flight_keys.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/live_step.h"
#include "sim/shell/pad_mapping.h"
#include "sim/shell/recorder.h"
#include "sim/shell/start_state.h"
#include "sim/shell/track.h"

static const double FIRST_STEP_MS = 25.0;
static const double STEP_MS = 10.0;

static int step;           // steps run
static double frameDueMs;  // the explosion's next frame; < 0 with none
static double nowMs;
static bool quit;
static PadMemory padMemory;
static PilotInput input; // the step's record, filled as the game's callbacks fill it

static void ArmFrame()
{
    frameDueMs = nowMs + EXPLOSION_FIRST_DELAY_MS;
}

static void Key(unsigned char key)
{
    input.presses.push_back({false, key});
}

static void Keys(const char* keys)
{
    for (const char* k = keys; *k; k++)
        Key((unsigned char)*k);
}

static void Arrow(int key, int times = 1)
{
    for (int i = 0; i < times; i++)
        input.presses.push_back({true, (unsigned char)key});
}

// A take-off as the README flies it: throttle 50, six nose-up presses a
// fifth of a second apart as the jet rolls, the gear up once climbing.
static void TakeOff(int s)
{
    if (s == 10)
        Keys("]]]]]");
    if (s >= 30 && s <= 130 && (s - 30) % 20 == 0)
        Arrow(ARROW_DOWN);
    if (s == 250)
        Key('g');
}

static int touchedDown;

static void TakeOffAndLand(int s)
{
    TakeOff(s);
    if (s == 230)
        Arrow(ARROW_UP, 5);
    if (s == 400)
        Keys("[[");
    if (s == 420)
        Key('g');
    if (s == 450)
        Arrow(ARROW_UP, 3);
    if (s > 450 && landed && !touchedDown) {
        touchedDown = s;
        Key('\\');
    }
    if (touchedDown && s == touchedDown + 300)
        Key('P');
}

static int crashedAt;

static void CrashIntoTileZero(int s)
{
    TakeOff(s);
    if (!crashedAt && lastCrash.cause != CRASH_NONE)
        crashedAt = s;
    // Asked to restart once the explosion is over; the next flight rolls a little.
    if (crashedAt && s == crashedAt + 60)
        Key('y');
    if (crashedAt && s == crashedAt + 80)
        Keys("]]");
}

static void ForceModelLoop(int s)
{
    TakeOff(s);
    if (s == 230)
        Arrow(ARROW_UP, 5);
    if (s == 300)
        Keys("[[[[");
    if (s == 320)
        Key('M');
}

// By pad, as the README flies it: the right trigger for a second, the stick
// back 40 % for a second from a third in, south for the gear, then a turn.
static PadInput PadTakeOffAndTurn(int s)
{
    PadInput in = PadInput();
    if (s >= 10 && s < 110)
        in.throttleUp = 1.0f;
    if (s >= 43 && s < 143)
        in.pitch = 0.4f + 0.001f * (float)(s % 7); // a hand is never quite still
    if (s == 250)
        in.buttons = PAD_SOUTH;
    if (s >= 300 && s < 420)
        in.roll = 0.5f;
    if (s >= 420 && s < 440)
        in.roll = -0.5f;
    return in;
}

static void NoKeys(int)
{
}

// The courses' flights: an autopilot that steers for waypoints with the
// arrows alone, a press at a time, as a steady hand would.
struct Waypoint {
    float x, y, z;
};
static const Waypoint* route;
static size_t routeLength;
static size_t waypoint;
static const int AUTOPILOT_FROM = 300;   // steps: after the take-off and the gear
static const float MAX_BANK = 25.0f;     // degrees
static const float MAX_CLIMB = 8.0f;     // degrees of pitch, up and down
static const float REACHED = 4000.0f;    // units along the leg before its end: turn early
static const float LOOK_AHEAD = 8000.0f; // units along the leg
static Waypoint legStart;

static float Clamp(float v, float limit)
{
    return v > limit ? limit : (v < -limit ? -limit : v);
}

static void Autopilot(int s)
{
    if (s < AUTOPILOT_FROM || waypoint >= routeLength || s % 3 != 0)
        return;
    // Along the leg from the last waypoint to the next, aiming a fixed way
    // ahead of the nearest point on it, so that the path settles onto the leg.
    const Waypoint& b = route[waypoint];
    Waypoint a = waypoint > 0 ? route[waypoint - 1] : Waypoint{plane.pos.x, plane.pos.y, plane.pos.z};
    if (waypoint == 0 && s == AUTOPILOT_FROM)
        legStart = a;
    if (waypoint == 0)
        a = legStart;
    float lx = b.x - a.x, lz = b.z - a.z;
    float length = std::sqrt(lx * lx + lz * lz);
    float along = ((plane.pos.x - a.x) * lx + (plane.pos.z - a.z) * lz) / length;
    if (along > length - REACHED) {
        waypoint++;
        return;
    }
    float aim = along + LOOK_AHEAD < length ? along + LOOK_AHEAD : length;
    float dx = a.x + lx / length * aim - plane.pos.x, dz = a.z + lz / length * aim - plane.pos.z;
    // Left of the nose is positive: (dir x to).y.
    float left = (float)std::atan2((double)(plane.dir.z * dx - plane.dir.x * dz),
                                   (double)(plane.dir.x * dx + plane.dir.z * dz)) * 57.2958f;
    float bank = (float)std::atan2(-(double)plane.normal.y, (double)plane.up.y) * 57.2958f;
    // The turn the bank will still make while it rolls back, taken off early.
    float wantBank = Clamp(-3.0f * (left + 0.2f * bank), MAX_BANK);
    if (bank < wantBank - 1.5f)
        Arrow(ARROW_RIGHT);
    else if (bank > wantBank + 1.5f)
        Arrow(ARROW_LEFT);
    float pitch = (float)std::asin((double)Clamp(plane.dir.y, 1.0f)) * 57.2958f;
    float wantHeight = a.y + (b.y - a.y) * (along < 0.0f ? 0.0f : along / length);
    float wantPitch = Clamp((wantHeight - plane.pos.y) * 0.02f, MAX_CLIMB);
    if (pitch < wantPitch - 0.7f)
        Arrow(ARROW_DOWN);
    else if (pitch > wantPitch + 0.7f)
        Arrow(ARROW_UP);
}

// The easy course's flight: low along the runway, then north into the valley
// that runs through tile 0, low between its walls to the tile's far edge.
static const Waypoint VALLEY_ROUTE[] = {
    {7000.0f, 400.0f, 16000.0f}, {11500.0f, 500.0f, 32000.0f}, {12241.0f, 600.0f, 40000.0f},
    {12241.0f, 600.0f, 66000.0f},
};

static void ValleyCourse(int s)
{
    if (s == 0) {
        route = VALLEY_ROUTE;
        routeLength = sizeof VALLEY_ROUTE / sizeof VALLEY_ROUTE[0];
        waypoint = 0;
    }
    if (s == 10)
        Keys("]]");
    if (s >= 30 && s <= 130 && (s - 30) % 20 == 0)
        Arrow(ARROW_DOWN);
    if (s == 250)
        Key('g');
    Autopilot(s);
}

// The hard course's flight: faster, from the south through the gap between the
// long ridge's end and the eastern peak, then west over the lower ground.
static const Waypoint PEAKS_ROUTE[] = {
    {6000.0f, 1200.0f, 16000.0f}, {9500.0f, 2000.0f, 40000.0f}, {12241.0f, 1800.0f, 52000.0f},
    {12500.0f, 1500.0f, 58000.0f}, {12500.0f, 1500.0f, 70000.0f},
};

static void PeaksCourse(int s)
{
    if (s == 0) {
        route = PEAKS_ROUTE;
        routeLength = sizeof PEAKS_ROUTE / sizeof PEAKS_ROUTE[0];
        waypoint = 0;
    }
    if (s == 10)
        Keys("]]]]");
    if (s >= 30 && s <= 130 && (s - 30) % 20 == 0)
        Arrow(ARROW_DOWN);
    if (s == 250)
        Key('g');
    Autopilot(s);
}

struct Flight {
    const char* name;
    int steps;
    void (*pilot)(int step);
    PadInput (*pad)(int step);
};

static const Flight FLIGHTS[] = {
    {"keyboard_takeoff_landing", 1800, TakeOffAndLand, nullptr},
    {"controller_flight", 600, NoKeys, PadTakeOffAndTurn},
    {"crash_tile_zero", 1000, CrashIntoTileZero, nullptr},
    {"force_model_loop", 700, ForceModelLoop, nullptr},
    {"valley_course", 2100, ValleyCourse, nullptr},
    {"peaks_course", 1100, PeaksCourse, nullptr},
};

static bool Record(const Flight& flight, const std::string& dir)
{
    ResetSimulation();
    BuildWorldWithoutWindow();
    armExplosionTimer = ArmFrame;
    padMemory = NeutralPadMemory();
    ClearPilotInput(input);
    step = 0;
    frameDueMs = -1.0;
    nowMs = 0.0;
    quit = false;
    touchedDown = crashedAt = 0;
    StartRecorder();
    std::string path = dir + "/" + flight.name + ".rec";
    std::string error;
    if (!RecordToFile(path.c_str(), error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    for (; step < flight.steps && !quit; step++) {
        double stepMs = FIRST_STEP_MS + STEP_MS * step;
        while (frameDueMs >= 0.0 && frameDueMs <= stepMs) {
            nowMs = frameDueMs;
            ExplosionQuad quad;
            frameDueMs = AdvanceExplosion(quad) ? nowMs + EXPLOSION_FRAME_DELAY_MS : -1.0;
            input.explosionFrames++;
        }
        nowMs = stepMs;
        flight.pilot(step);
        // The controller is read as the step begins, as ReadGamepad reads it.
        if (flight.pad)
            PadToInput(flight.pad(step), padMemory, input);
        quit = RunRecordedStep(input).quit;
        ClearPilotInput(input);
    }
    FinishRecording();
    fprintf(stderr, "%s: %d steps, crash %d, landed %d, ", path.c_str(), step, (int)lastCrash.cause, landed);
    fprintf(stderr, "pos %.1f %.1f %.1f\n", plane.pos.x, plane.pos.y, plane.pos.z);
    return true;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: make-recordings DIR [NAME...] (run in the folder of landscape.dmf)\n");
        return 2;
    }
    // The rows and lines of the flights are not wanted here.
    if (!freopen("/dev/null", "w", stdout))
        return 1;
    for (const Flight& flight : FLIGHTS) {
        bool named = argc == 2;
        for (int i = 2; i < argc; i++)
            named = named || strcmp(argv[i], flight.name) == 0;
        if (named && !Record(flight, argv[1]))
            return 1;
    }
    return 0;
}
