// The pilot's key table, arrow keys and mouse drags, without a window.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "sim/flight/aircraft.h"
#include "sim/flight/clock.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/life.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/render/sky.h"
#include "sim/flight/flight_tick.h"
#include "sim/shell/controls.h"
#include "sim/shell/game_end.h"
#include "sim/shell/live_step.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/key_help.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

StepOutcome keysDid;

// Runs keys through the table as the game does, the flight keys as the step
// applies them (without the flight after them), and returns what they printed.
std::string Keys(const std::string& keys)
{
    keysDid = StepOutcome();
    testing::internal::CaptureStdout();
    for (char k : keys) {
        if (FlightKey((unsigned char)k))
            ApplyFlightKey((unsigned char)k, keysDid);
        else
            PilotKey((unsigned char)k);
    }
    return testing::internal::GetCapturedStdout();
}

bool Quits(const std::string& keys)
{
    Keys(keys);
    return keysDid.quit;
}

PilotInput Record(const std::string& keys)
{
    PilotInput input = PilotInput();
    for (char k : keys)
        input.presses.push_back({false, (unsigned char)k});
    return input;
}

} // namespace

TEST(ControlsTest, ThrottleStaysWholeWithinItsBounds)
{
    struct Case {
        float start;
        std::string keys;
        float want;
    };
    const Case cases[] = {
        {0, std::string(101, '+'), 100},
        {99, "=", 100},
        {100, "+", 100},
        {95, "]", 100},
        {90, "]", 100},
        {5, "[", 0},
        {10, "[", 0},
        {0, "-", 0},
        {0, "_", 0},
        {50, "-_", 48},
        {73, "\\", 0},
        {0, "]]]+-[", 20},
    };
    for (const Case& c : cases) {
        plane.thrust = c.start;
        Keys(c.keys);
        EXPECT_EQ(plane.thrust, c.want) << c.start << " " << c.keys;
    }
}

TEST(ControlsTest, GearKeyTogglesAndReports)
{
    EXPECT_EQ(Keys("g"), "Raising landing gear\n");
    EXPECT_EQ(gearDown, 0);
    EXPECT_EQ(gearHeight, 20.0f);
    EXPECT_EQ(Keys("g"), "Lowering landing gear\n");
    EXPECT_EQ(gearDown, 1);
    EXPECT_EQ(gearHeight, 35.0f);
}

TEST(ControlsTest, FogDensityKeysPrintAndReturn)
{
    EXPECT_EQ(Keys("dD"), "fogDensity = 0.000004\nfogDensity = 0.000004\n");
    EXPECT_NEAR(fogDensity, 4.0e-6f, 1e-12f);
    EXPECT_EQ(PilotKey('d'), KEY_FOG_DENSITY);
    EXPECT_FLOAT_EQ(fogDensity, 4.4e-6f);
    fogDensity = 0.5f;
    EXPECT_EQ(Keys("d"), "fogDensity = 0.550000\n");
}

TEST(ControlsTest, TimeKeyReports)
{
    EXPECT_EQ(Keys("T"), "Time has stopped.\n");
    EXPECT_EQ(timePasses, 0);
    EXPECT_EQ(Keys("T"), "Time passes by.\n");
    EXPECT_EQ(timePasses, 1);
}

TEST(ControlsTest, StateLineStartsWithPlane)
{
    std::string out = Keys("P");
    EXPECT_EQ(out.rfind("Plane: ", 0), 0u) << out;
}

TEST(ControlsTest, ViewKeys)
{
    struct Case {
        std::string keys;
        int view;
    };
    const Case cases[] = {{"2", 2}, {"22", 6}, {"222", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"51", 1}, {"62", 2}};
    for (const Case& c : cases) {
        viewMode = 1;
        Keys(c.keys);
        EXPECT_EQ(viewMode, c.view) << c.keys;
    }
    chaseDistance = 900.0f;
    viewMode = 6;
    Keys("2");
    EXPECT_EQ(chaseDistance, 500.0f);
    chaseDistance = 900.0f;
    Keys("2"); // to orbit: the distance stays
    EXPECT_EQ(chaseDistance, 900.0f);
    overheadHeight = 10.0f;
    Keys("5");
    EXPECT_EQ(overheadHeight, 2000.0f);
    Keys("w");
    EXPECT_EQ(fieldOfView, 80.0f);
    Keys("w");
    EXPECT_EQ(fieldOfView, 40.0f);
}

TEST(ControlsTest, SwitchKeysToggleAndCycle)
{
    int modes[5];
    for (int i = 0; i < 5; i++) {
        modes[i] = fogMode;
        EXPECT_EQ(PilotKey('F'), KEY_FOG_MODE);
    }
    EXPECT_EQ(modes[0], 0);
    EXPECT_EQ(modes[1], 1);
    EXPECT_EQ(modes[2], 2);
    EXPECT_EQ(modes[3], 3);
    EXPECT_EQ(modes[4], 0);
    EXPECT_EQ(fogMode, 1);

    EXPECT_EQ(PilotKey('C'), KEY_DONE);
    EXPECT_EQ(cullFaces, -1);
    Keys("C");
    EXPECT_EQ(cullFaces, 0);
    Keys("c");
    EXPECT_EQ(overlayLightOn, 1);
    Keys("B");
    EXPECT_EQ(contactOutlineOn, 1);
    Keys("z");
    EXPECT_EQ(sunHaloOn, 0);
    Keys("M");
    EXPECT_EQ(flightModel, 1);
    flightModel = 7; // only 1 goes back to the heading model; anything else becomes 1
    Keys("M");
    EXPECT_EQ(flightModel, 1);
    EXPECT_EQ(PilotKey('t'), KEY_TEXTURES);
    EXPECT_EQ(texturesOn, 0);
    EXPECT_EQ(PilotKey('l'), KEY_SPOT_LIGHT);
    EXPECT_EQ(spotLightOn, 1);
    Keys("ct");
    EXPECT_EQ(overlayLightOn, 0);
    EXPECT_EQ(texturesOn, 1);
}

TEST(ControlsTest, LifeKeyStartsTheBoard)
{
    Keys("L");
    EXPECT_EQ(lifeOn, 1);
    EXPECT_NE(lifeCells, nullptr);
    Keys("L");
    EXPECT_EQ(lifeOn, 0);
    FreeLife();
}

TEST(ControlsTest, KeysAreCaseSensitiveAndUnknownKeysDoNothing)
{
    const std::string keys = std::string("GmqrSsVWxXyYnN\x1b ") + '\0' + "\x7f\xff";
    plane.thrust = 40.0f;
    ResetPlane(plane);
    Body before = plane;
    for (char k : keys) {
        testing::internal::CaptureStdout();
        KeyEffect effect = PilotKey((unsigned char)k);
        StepOutcome did = {};
        ApplyFlightKey((unsigned char)k, did);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(effect, KEY_DONE) << (int)(unsigned char)k;
        EXPECT_FALSE(did.quit || did.gearMoves || did.restarts) << (int)(unsigned char)k;
        EXPECT_EQ(out, "") << (int)(unsigned char)k;
    }
    EXPECT_EQ(memcmp(&plane, &before, sizeof(Body)), 0);
    EXPECT_EQ(gearDown, 1);
    EXPECT_EQ(flightModel, 0);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(restartPrompt, 0);
    EXPECT_EQ(viewMode, 1);
    EXPECT_EQ(fogMode, 0);
}

TEST(ControlsTest, PauseRestartAndQuitKeys)
{
    Keys("p");
    EXPECT_EQ(paused, 1);
    Keys("p");
    EXPECT_EQ(paused, 0);
    // Y and N only answer an open question.
    plane.thrust = 30.0f;
    EXPECT_FALSE(Quits("yn"));
    EXPECT_EQ(keysDid.restarts, 0u);
    EXPECT_EQ(plane.thrust, 30.0f);
    Keys("R");
    EXPECT_EQ(restartPrompt, 1);
    EXPECT_EQ(paused, 1);
    Keys("p"); // the question keeps the game paused
    EXPECT_EQ(paused, 1);
    EXPECT_TRUE(Quits("N"));
    EXPECT_TRUE(Quits("n"));
    Keys("Y");
    EXPECT_EQ(keysDid.restarts, 1u);
    EXPECT_EQ(restartPrompt, 0);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(plane.thrust, 0.0f);
    Keys("Ry");
    EXPECT_EQ(restartPrompt, 0);
    EXPECT_TRUE(Quits("Q"));
}

TEST(ControlsTest, QuitEndsWithStatusZero)
{
    EXPECT_EXIT(QuitGame(), testing::ExitedWithCode(0), "");
    Keys("L");
    EXPECT_EXIT(QuitGame(), testing::ExitedWithCode(0), "");
}

TEST(ControlsTest, ArrowKeysTurnWithoutLimit)
{
    ResetPlane(plane);
    for (int i = 0; i < 90; i++)
        ApplyArrow(GLUT_KEY_UP);
    EXPECT_NEAR(plane.dir.x, 0.0f, 1e-4f);
    EXPECT_NEAR(plane.dir.y, -1.0f, 1e-4f);
    EXPECT_NEAR(plane.dir.z, 0.0f, 1e-4f);

    struct Case {
        int key;
        float dirY, upX; // signs after one press from level
    };
    const Case cases[] = {{GLUT_KEY_DOWN, 1, 0}, {GLUT_KEY_UP, -1, 0}, {GLUT_KEY_RIGHT, 0, -1}, {GLUT_KEY_LEFT, 0, 1}};
    for (const Case& c : cases) {
        ResetPlane(plane);
        ApplyArrow(c.key);
        // normal is -x at the start pose: a right roll tips up towards it.
        EXPECT_NEAR(plane.dir.y, c.dirY * std::sin(DEG_TO_RAD), 1e-5f) << c.key;
        EXPECT_NEAR(plane.up.x, c.upX * std::sin(DEG_TO_RAD), 1e-5f) << c.key;
    }
    ResetPlane(plane);
    Body before = plane;
    for (int key : {GLUT_KEY_F1, GLUT_KEY_PAGE_UP, GLUT_KEY_HOME, 99, 104, -1})
        ApplyArrow(key);
    EXPECT_EQ(memcmp(&plane, &before, sizeof(Body)), 0);
}

// The step takes one record: the controller's actions, then the presses in
// the order they came, then the flight; a quit in it ends the game only
// after the step.
TEST(ControlsTest, TheStepAppliesItsRecordInOrder)
{
    struct Case {
        const char* name;
        std::string keys;
        bool pad;          // a resting controller read for the step, throttle at 40
        bool quit;
        float thrust;      // after the step
        int restartPrompt; // after the step
        bool flew;         // the aircraft moved in the step
    };
    const Case cases[] = {
        {"keys in their order", "]]-", false, false, 59, 0, true},
        {"the question, then the answer", "Ry", false, false, 0, 0, true},
        {"an answer before its question", "yR", false, false, 40, 1, false},
        {"keys after the controller's throttle", "]", true, false, 50, 0, true},
        {"a quit after the step", "Q", false, true, 40, 0, true},
        {"the answer no", "Rn", false, true, 40, 1, false},
    };
    for (const Case& c : cases) {
        ResetPlane(plane);
        restartPrompt = paused = 0;
        plane.thrust = 40.0f;
        PilotInput input = Record(c.keys);
        if (c.pad) {
            input.padRead = true;
            input.pad = {0.0f, 0.0f, 40.0f, 0u};
        }
        Vec3 before = plane.pos;
        StepOutcome outcome = SimulationStep(input);
        EXPECT_EQ(outcome.quit, c.quit) << c.name;
        EXPECT_EQ(plane.thrust, c.thrust) << c.name;
        EXPECT_EQ(restartPrompt, c.restartPrompt) << c.name;
        EXPECT_EQ(memcmp(&before, &plane.pos, sizeof before) != 0, c.flew) << c.name;
    }
}

// Live play: a flight key waits for the next step (and goes into the
// recording with it); a display key acts at once; the arrows wait too.
TEST(ControlsTest, FlightKeysWaitForTheNextStep)
{
    ResetPlane(plane);
    plane.thrust = 0.0f;
    EXPECT_FALSE(TakeKey(']'));
    TakeKey('3');
    TakeSpecialKey(GLUT_KEY_DOWN);
    EXPECT_EQ(plane.thrust, 0.0f);
    EXPECT_EQ(viewMode, 3) << "a view key acts at once";
    Body level = plane;
    RunOneStep();
    EXPECT_EQ(plane.thrust, 10.0f);
    EXPECT_GT(plane.dir.y, level.dir.y) << "the arrow went with the step";
    EXPECT_TRUE(liveInput.presses.empty());
}

TEST(ControlsTest, DragModesByViewAndButton)
{
    struct Case {
        int view, button, mode;
    };
    const Case cases[] = {
        {1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 4}, {2, 2, 0}, {3, 0, 1}, {3, 1, 2}, {3, 2, 3},
        {4, 1, 0}, {5, 0, 0}, {5, 1, 5}, {5, 2, 0}, {6, 0, 6}, {6, 1, 4}, {6, 2, 0}, {3, 3, 0},
    };
    for (const Case& c : cases) {
        viewMode = c.view;
        PressMouse(c.button, GLUT_DOWN, 10, 20);
        EXPECT_EQ(dragMode, c.mode) << c.view << " " << c.button;
        EXPECT_EQ(lastMouseX, 10);
        EXPECT_EQ(lastMouseY, 20);
        PressMouse(c.button, GLUT_UP, 11, 21);
        EXPECT_EQ(dragMode, 0);
        EXPECT_EQ(lastMouseX, -1);
        EXPECT_EQ(lastMouseY, -1);
    }
}

TEST(ControlsTest, DragsMoveTheCameraAndDistances)
{
    viewMode = 2;
    chaseDistance = 500.0f;
    PressMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100);
    DragMouse(100, 150);
    EXPECT_EQ(chaseDistance, 500.0f);
    PressMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 150);

    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 100, 100);
    DragMouse(90, 110);
    EXPECT_EQ(chaseDistance, 530.0f);
    viewMode = 5; // the mode was fixed at the press
    DragMouse(90, 100);
    EXPECT_EQ(chaseDistance, 500.0f);
    EXPECT_EQ(overheadHeight, 2000.0f);
    // Releasing one of two held buttons ends the drag for the other too.
    PressMouse(GLUT_LEFT_BUTTON, GLUT_UP, 90, 100);
    DragMouse(90, 140);
    DragMouse(90, 180);
    EXPECT_EQ(chaseDistance, 500.0f);
    EXPECT_EQ(overheadHeight, 2000.0f);
    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_UP, 90, 180);

    viewMode = 5;
    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);
    DragMouse(0, -4);
    EXPECT_EQ(overheadHeight, 1988.0f);
    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_UP, 0, -4);

    // Fixed view, right button: pan along the camera's normal and up.
    viewMode = 3;
    ResetPlane(camera); // normal -x, up +y
    PressMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 50, 50);
    DragMouse(60, 45);
    EXPECT_FLOAT_EQ(camera.pos.x, 3075.0f - 30.0f);
    EXPECT_FLOAT_EQ(camera.pos.y, 30.0f - 15.0f);
    EXPECT_FLOAT_EQ(camera.pos.z, -9470.0f);
    PressMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 60, 45);

    // Fixed view, middle button: back along dir by 25 per pixel down.
    ResetPlane(camera);
    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 50, 50);
    DragMouse(50, 52);
    EXPECT_FLOAT_EQ(camera.pos.z, -9470.0f - 50.0f);
    PressMouse(GLUT_MIDDLE_BUTTON, GLUT_UP, 50, 52);

    // Left button: turn about world up by the horizontal drag.
    ResetPlane(camera);
    PressMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 50, 50);
    DragMouse(140, 50); // 90 degrees
    EXPECT_NEAR(std::fabs(camera.dir.x), 1.0f, 1e-4f);
    EXPECT_NEAR(camera.dir.z, 0.0f, 1e-4f);
    EXPECT_NEAR(camera.up.y, 1.0f, 1e-4f);
}

// The keys of the README's key table under "## Flying": its `code` spans,
// and a plain first cell ("arrows").
static std::set<std::string> ReadmeFlyingKeys()
{
    std::ifstream in(std::string(PELORIN_SOURCE_DIR) + "/README.md");
    std::set<std::string> keys;
    std::string line;
    bool section = false, table = false;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            section = line.rfind("## Flying", 0) == 0;
            table = false;
            continue;
        }
        if (!section)
            continue;
        if (line.rfind("| key | effect |", 0) == 0) {
            table = true;
            continue;
        }
        if (!table || line.rfind("|", 0) != 0) {
            table = false;
            continue;
        }
        if (line.rfind("|---", 0) == 0)
            continue;
        std::string first = line.substr(1, line.find('|', 1) - 1);
        if (first.find('`') == std::string::npos) {
            first.erase(0, first.find_first_not_of(' '));
            first.erase(first.find_last_not_of(' ') + 1);
            keys.insert(first);
        }
        for (size_t a = line.find('`'); a != std::string::npos; a = line.find('`', line.find('`', a + 1) + 1)) {
            size_t b = line.find('`', a + 1);
            if (b == std::string::npos)
                break;
            keys.insert(line.substr(a + 1, b - a - 1));
        }
    }
    return keys;
}

TEST(ControlsTest, TheKeyListNamesTheReadmesKeysWithTheirStates)
{
    std::set<std::string> listed;
    for (int i = 0; i < KEY_HELP_COUNT; i++) {
        std::istringstream keys(KEY_HELP[i].keys);
        for (std::string k; keys >> k;)
            listed.insert(k);
    }
    std::set<std::string> readme = ReadmeFlyingKeys();
    ASSERT_GT(readme.size(), 30u);
    for (const std::string& k : readme)
        EXPECT_TRUE(listed.count(k)) << "F1's list lacks the README's key " << k;
    for (const std::string& k : listed)
        EXPECT_TRUE(readme.count(k)) << "the README lacks F1's key " << k;

    auto lineOf = [](const std::string& start) {
        for (const std::string& line : HelpLines())
            if (line.rfind(start, 0) == 0)
                return line;
        return std::string("none");
    };
    EXPECT_EQ(lineOf("Flying"), "Flying");
    EXPECT_EQ(lineOf("F\t"), "F\tfog mode: off");
    EXPECT_EQ(lineOf("t\t"), "t\ttextures: on");
    EXPECT_EQ(lineOf("g\t"), "g\tlanding gear: down");
    testing::internal::CaptureStdout();
    for (char k : std::string("FFtH"))
        PilotKey((unsigned char)k);
    StepOutcome outcome = {};
    ApplyFlightKey('g', outcome);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(lineOf("F\t"), "F\tfog mode: exp squared");
    EXPECT_EQ(lineOf("t\t"), "t\ttextures: off");
    EXPECT_EQ(lineOf("g\t"), "g\tlanding gear: up");
    EXPECT_EQ(lineOf("H\t"), "H\tinstruments or classic display: classic");
    // F1 opens the list and ends the hint for good; F1 again or Esc closes
    // it, and Esc means nothing with the list closed.
    EXPECT_FALSE(HelpTakesKey(27));
    EXPECT_TRUE(HelpTakesSpecialKey(GLUT_KEY_F1));
    EXPECT_EQ(helpOpen, 1);
    EXPECT_EQ(keysHintOn, 0);
    EXPECT_EQ(helpLines, HelpLines());
    EXPECT_TRUE(HelpTakesSpecialKey(GLUT_KEY_F1));
    EXPECT_EQ(helpOpen, 0);
    EXPECT_TRUE(HelpTakesSpecialKey(GLUT_KEY_F1));
    EXPECT_TRUE(HelpTakesKey(27));
    EXPECT_EQ(helpOpen, 0);
    EXPECT_EQ(keysHintOn, 0);
    EXPECT_FALSE(HelpTakesSpecialKey(GLUT_KEY_F2));
}
