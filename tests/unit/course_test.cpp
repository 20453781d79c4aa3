// Courses: the course file's checked reading, the gate crossing decided in
// the step, the attempt's clock, the ghost's replay of a real recording, the
// best-times file and the landing score.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/best_times.h"
#include "common/course_file.h"
#include "common/flight_recording.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/landing_score.h"
#include "sim/render/course_draw.h"
#include "sim/shell/ghost.h"
#include "sim/shell/start_state.h"

namespace {

const std::string HEAD = "pelorin-course 1\nname Test run\nlandscape none\n";

CourseGate Gate(double x, double y, double z, double nx, double ny, double nz, double r)
{
    return {x, y, z, nx, ny, nz, r};
}

} // namespace

TEST(CourseFile, ReadsGatesAndWritesThemBack)
{
    Course course;
    std::string error;
    ASSERT_TRUE(ParseCourse("# made by hand\r\n" + HEAD + "  # a comment\n\ngate 1 2 3 0 0 2 50\ngate -4e3 5 6.5 3 0 4 10000\n",
                            course, error))
        << error;
    EXPECT_EQ(course.name, "Test run");
    EXPECT_FALSE(course.hasLandscape);
    ASSERT_EQ(course.gates.size(), 2u);
    EXPECT_DOUBLE_EQ(course.gates[0].nz, 1.0); // normalised
    EXPECT_DOUBLE_EQ(course.gates[1].x, -4000.0);
    EXPECT_DOUBLE_EQ(course.gates[1].nx, 0.6);
    course.hasLandscape = true;
    course.landscapeDigest = 0xbc880c962e96a22aull;
    course.landscapeBytes = 6737;
    Course back;
    ASSERT_TRUE(ParseCourse(FormatCourse(course), back, error)) << error;
    EXPECT_EQ(FormatCourse(back), FormatCourse(course));
    EXPECT_TRUE(back.hasLandscape);
    EXPECT_EQ(back.landscapeDigest, course.landscapeDigest);
}

// Every fault names its line, or the whole file when nothing is missing from one line.
TEST(CourseFile, BadFilesAreRefusedByLine)
{
    const std::string longLine(300, 'x');
    std::string tooMany = HEAD;
    for (size_t i = 0; i <= COURSE_MAX_GATES; i++)
        tooMany += "gate 0 0 0 0 0 1 10\n";
    struct Case {
        std::string text, error;
    } cases[] = {
        {"", "empty: a course file starts with \"pelorin-course 1\""},
        {"pelorin-course 2\n", "line 1: not a course file (it starts with \"pelorin-course 1\")"},
        {"PELORINR\x01\x00", "line 1: holds a control character"},
        {"pelorin-course 1\nlandscape none\ngate 0 0 0 0 0 1 10\n", "the course has no name"},
        {"pelorin-course 1\nname a\ngate 0 0 0 0 0 1 10\n", "the course names no landscape (\"landscape none\" for the generated one)"},
        {HEAD, "the course has no gates"},
        {HEAD + "gate 1 2 3 0 0 1\n", "line 4: a gate is seven numbers: centre x y z, facing x y z, radius"},
        {HEAD + "gate 1 2 3 0 0 1 5 6\n", "line 4: too many words"},
        {HEAD + "gate 1 nan 3 0 0 1 5\n", "line 4: \"nan\" is not a finite number"},
        {HEAD + "gate 1 inf 3 0 0 1 5\n", "line 4: \"inf\" is not a finite number"},
        {HEAD + "gate 1 1e400 3 0 0 1 5\n", "line 4: \"1e400\" is not a finite number"},
        {HEAD + "gate 0x10 1 3 0 0 1 5\n", "line 4: \"0x10\" is not a finite number"},
        {HEAD + "gate 1 2 2e7 0 0 1 5\n", "line 4: the gate's centre lies beyond any landscape"},
        {HEAD + "gate 1 2 3 0 0 0 5\n", "line 4: the gate faces no direction"},
        {HEAD + "gate 1 2 3 0 0 1e-300 5\n", "line 4: the gate faces no direction"},
        {HEAD + "gate 1 2 3 0 0 1 0.5\n", "line 4: a gate's radius is 1 to 10000"},
        {HEAD + "gate 1 2 3 0 0 1 10001\n", "line 4: a gate's radius is 1 to 10000"},
        {HEAD + "name again\n", "line 4: a second name"},
        {HEAD + "landscape none\n", "line 4: a second landscape"},
        {"pelorin-course 1\nname a\nlandscape 12 x\n", "line 3: the landscape is \"none\" or a digest in hex and a byte count"},
        {"pelorin-course 1\nname a\nlandscape 12345678901234567 1\n", "line 3: the landscape is \"none\" or a digest in hex and a byte count"},
        {"pelorin-course 1\nname \n", "line 2: a name is 1 to 60 characters"},
        {"pelorin-course 1\nname " + std::string(61, 'n') + "\n", "line 2: a name is 1 to 60 characters"},
        {"pelorin-course 1\nname caf\xc3\xa9\n", "line 2: a name is plain printable text"},
        {HEAD + "hoop 1 2 3\n", "line 4: unknown entry \"hoop\""},
        {HEAD + longLine + "\n", "line 4: longer than 256 characters"},
        {tooMany, "line 204: more than 200 gates"},
        {std::string(COURSE_MAX_BYTES + 1, '#'), "larger than any course (65537 bytes)"},
    };
    for (const Case& c : cases) {
        Course course;
        std::string error;
        EXPECT_FALSE(ParseCourse(c.text, course, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    Course course;
    std::string error;
    EXPECT_FALSE(ReadCourseFile("/nonexistent/x.course", course, error));
    EXPECT_EQ(error.rfind("/nonexistent/x.course: ", 0), 0u) << error;
    EXPECT_FALSE(ReadCourseFile("/dev/zero", course, error));
    EXPECT_EQ(error, "/dev/zero: not a regular file");
    // The fuzzer's corpus and whatever it ever found read without harm.
    namespace fs = std::filesystem;
    for (const char* folder : {PELORIN_SOURCE_DIR "/tests/fuzz/corpus/course_reader",
                               PELORIN_TEST_DATA "/fuzz-crashes/course_reader"}) {
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (ParseCourse(text, course, error))
                EXPECT_FALSE(course.gates.empty()) << entry.path();
            else
                EXPECT_FALSE(error.empty()) << entry.path();
        }
    }
}

// One step's path against one gate: a radius-100 gate at (0, 500, 0) facing +z.
TEST(CourseRun, PathCrossesTheGatesDiscForwardsOnly)
{
    const CourseGate g = Gate(0, 500, 0, 0, 0, 1, 100);
    // A gate standing on tile 0's western edge (x -1759) far from the origin,
    // facing along x: world positions, nothing of a tile's own.
    const CourseGate edge = Gate(-1759.0, 300.0, 54846.0, 1, 0, 0, 200);
    struct Case {
        const char* what;
        CourseGate gate;
        Vec3 from, to;
        bool passed;
    } cases[] = {
        {"through the middle", g, {0, 500, -30}, {0, 500, 30}, true},
        {"slanting through", g, {-20, 480, -30}, {20, 520, 30}, true},
        {"grazing the rim", g, {100, 500, -30}, {100, 500, 30}, true},
        {"just outside the rim", g, {100.5f, 500, -30}, {100.5f, 500, 30}, false},
        {"missing it above", g, {0, 700, -30}, {0, 700, 30}, false},
        {"crossing backwards", g, {0, 500, 30}, {0, 500, -30}, false},
        {"from the disc onwards", g, {0, 500, 0}, {0, 500, 30}, true},
        {"onto the disc, not yet through", g, {0, 500, -30}, {0, 500, 0}, false},
        {"along its plane", g, {-50, 500, 0}, {50, 500, 0}, false},
        {"short of it", g, {0, 500, -60}, {0, 500, -30}, false},
        {"through a gate on tile 0's edge", edge, {-1790.0f, 310.0f, 54850.0f}, {-1730.0f, 305.0f, 54860.0f}, true},
        {"beside a gate on tile 0's edge", edge, {-1790.0f, 310.0f, 55100.0f}, {-1730.0f, 305.0f, 55100.0f}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathCrossesGate(c.gate, c.from, c.to), c.passed) << c.what;
}

// The clock runs from the first gate to the last; the gates count in order;
// a crash in the very step that crosses a gate passes none and ends it.
TEST(CourseRun, ClockSplitsAndTheCrashThatEndsTheAttempt)
{
    Course course;
    course.gates = {Gate(0, 0, 0, 0, 0, 1, 50), Gate(0, 0, 100, 0, 0, 1, 50), Gate(0, 0, 200, 0, 0, 1, 50)};
    CourseRun run;
    auto step = [&](float z0, float z1, bool crashed = false) {
        return AdvanceCourseRun(run, course, {0, 0, z0}, {0, 0, z1}, crashed);
    };
    EXPECT_EQ(step(-20, -10), COURSE_NOTHING);
    EXPECT_EQ(run.steps, 0);
    EXPECT_EQ(step(150, 250), COURSE_NOTHING) << "the third gate before the first";
    EXPECT_EQ(step(-10, 10), COURSE_GATE);
    EXPECT_TRUE(run.started);
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(step(10 + 10 * i, 20 + 10 * i), COURSE_NOTHING) << i;
    EXPECT_EQ(step(95, 105), COURSE_GATE);
    EXPECT_EQ(run.steps, 10);
    CourseRun beforeCrash = run;
    EXPECT_EQ(step(195, 205, true), COURSE_CRASHED);
    EXPECT_TRUE(run.crashed);
    EXPECT_EQ(run.nextGate, 2u);
    EXPECT_EQ(step(195, 205), COURSE_NOTHING) << "an ended attempt passes nothing";
    run = beforeCrash;
    EXPECT_EQ(step(195, 205), COURSE_FINISHED);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.splits, (std::vector<int64_t>{0, 10, 11}));
    EXPECT_EQ(step(195, 205), COURSE_NOTHING);
    EXPECT_EQ(run.steps, 11) << "the clock stopped at the last gate";
}

// The step itself tests the active course: a jet flying level through a gate
// ahead of it passes it, and without a course the step is what it was.
TEST(CourseRun, TheStepPassesTheActiveCoursesGates)
{
    ResetPlane(plane);
    landed = 0;
    plane.pos = {3075.0f, 1500.0f, 0.0f};
    plane.dir = {0.0f, 0.0f, 1.0f};
    plane.up = {0.0f, 1.0f, 0.0f};
    plane.normal = {-1.0f, 0.0f, 0.0f};
    plane.speed = 40.0f;
    plane.thrust = 20.0f;
    Body start = plane;
    Course course;
    course.gates = {Gate(3075, 1500, 100, 0, 0, 1, 200)};
    for (int i = 0; i < 5; i++)
        SimulationStep(PilotInput());
    EXPECT_EQ(courseRun.nextGate, 0u) << "no course, no gates";
    Body without = plane;
    plane = start;
    landed = 0;
    activeCourse = &course;
    for (int i = 0; i < 5; i++)
        SimulationStep(PilotInput());
    EXPECT_TRUE(courseRun.finished);
    EXPECT_EQ(plane.pos.z, without.pos.z) << "the course changed the flight";
}

// A ghost is a delivered course's own recording replayed through the step:
// it passes every gate, and twice the same.
TEST(CourseRun, GhostsOfTheDeliveredCoursesPassEveryGate)
{
    ASSERT_EQ(chdir(PELORIN_SOURCE_DIR "/data"), 0);
    for (const char* name : {"valley", "peaks"}) {
        Course course;
        std::string error;
        ASSERT_TRUE(ReadCourseFile((std::string("courses/") + name + ".course").c_str(), course, error)) << error;
        Recording recording;
        std::string path = std::string(PELORIN_SOURCE_DIR "/tests/data/recordings/") + name + "_course.rec";
        ASSERT_TRUE(ReadRecording(path.c_str(), recording, error)) << error;
        GhostRun first, second;
        ASSERT_TRUE(ReplayGhost(recording, course, first, ResetSimulation)) << name;
        ASSERT_TRUE(ReplayGhost(recording, course, second, ResetSimulation)) << name;
        EXPECT_TRUE(first.finished) << name;
        ASSERT_EQ(first.splits.size(), course.gates.size()) << name;
        EXPECT_EQ(first.poses.size(), (size_t)first.splits.back() + 1) << name;
        EXPECT_EQ(first.splits, second.splits) << name;
        EXPECT_EQ(activeCourse, nullptr) << "the ghost's replay left its course behind";
    }
}

TEST(BestTimes, ReadsWritesAndRefusesDamage)
{
    BestTimes best;
    std::string error;
    SetBest(best, "course", 0x1234, 5678, "2026-12-08");
    SetBest(best, "landing", 0x99, 87, "2026-12-07");
    SetBest(best, "course", 0x1234, 5000, "2026-12-09");
    BestTimes back;
    ASSERT_TRUE(ParseBestTimes(FormatBestTimes(best), back, error)) << error;
    ASSERT_EQ(back.entries.size(), 2u);
    const BestEntry* course = FindBest(back, "course", 0x1234);
    ASSERT_NE(course, nullptr);
    EXPECT_EQ(course->value, 5000);
    EXPECT_EQ(course->date, "2026-12-09");
    EXPECT_EQ(FindBest(back, "landing", 0x1234), nullptr);
    const std::string head = "pelorin-best 1\n";
    struct Case {
        std::string text, error;
    } cases[] = {
        {"", "empty"},
        {"pelorin-best 2\n", "line 1: not a best-times file"},
        {head + "course 0000000000001234 500 2026-12-08", "line 2: cut short (no line end)"},
        {head + "course 0000000000001234 500\n", "line 2: not an entry (kind, key, value, date)"},
        {head + "course 0000000000001234 500 2026-12-08 x\n", "line 2: not an entry (kind, key, value, date)"},
        {head + "course 0000000000001234 0 2026-12-08\n", "line 2: an entry out of its range"},
        {head + "landing 0000000000001234 101 2026-12-08\n", "line 2: an entry out of its range"},
        {head + "lap 0000000000001234 5 2026-12-08\n", "line 2: an entry out of its range"},
        {head + "course 0000000000001234 5 08-12-2026\n", "line 2: an entry out of its range"},
        {head + "course 1 5 2026-12-08\ncourse 1 6 2026-12-08\n", "line 3: a second entry for the same key"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ParseBestTimes(c.text, back, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(PelorinDataFolder("/x/data", "/home/u"), "/x/data/pelorin");
    EXPECT_EQ(PelorinDataFolder("relative", "/home/u"), "/home/u/.local/share/pelorin");
    EXPECT_EQ(PelorinDataFolder(nullptr, "relative"), "");
}

TEST(LandingScore, EachMeasureTakesItsQuarter)
{
    struct Case {
        float sink, nose, bank, offset;
        int score;
    } cases[] = {
        {0, 0, 0, 0, 100},
        {-1, 0, 0, 0, 100}, // rising at the touch is no sink
        {2.5f, 0, 0, 0, 88},
        {5, 4, 14, RUNWAY_HALF_WIDTH, 0},
        {50, -40, -90, 9000, 0},
        {1, -2, 7, 312.5f, 58},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScoreTouchdown(c.sink, c.nose, c.bank, c.offset), c.score) << c.sink << " " << c.offset;
    Body level = plane;
    level.pos = {RUNWAY_CENTRE_X + 100.0f, 30.0f, 0.0f};
    Touchdown t = MeasureTouchdown(level, 31.0f);
    EXPECT_FLOAT_EQ(t.sink, 1.0f);
    EXPECT_FLOAT_EQ(t.offset, 100.0f);
}

// The arrow to the next gate: on screen or not, and which way to turn, for a
// camera at the origin looking along +z with +y up (its right is -x).
TEST(CourseDraw, PointOnScreenAndTheWayToIt)
{
    Body eye = Body();
    eye.dir = {0.0f, 0.0f, 1.0f};
    eye.up = {0.0f, 1.0f, 0.0f};
    const float pi = 3.14159265f;
    struct Case {
        const char* what;
        Vec3 point;
        bool onScreen;
        float angle; // radians, 0 right, counter-clockwise
    } cases[] = {
        {"straight ahead", {0, 0, 1000}, true, 0.0f},
        {"far to the right", {-5000, 0, 1000}, false, 0.0f},
        {"far to the left", {5000, 0, 1000}, false, pi},
        {"high above", {0, 5000, 1000}, false, pi / 2},
        {"below and behind", {0, -100, -1000}, false, -pi / 2},
        {"straight behind", {0, 0, -1000}, false, -pi / 2},
        {"just inside the top edge (45 degrees high)", {0, 400, 1000}, true, pi / 2},
    };
    for (const Case& c : cases) {
        float angle = 99.0f;
        EXPECT_EQ(PointOnScreen(eye, c.point, 45.0f, 4.0f / 3.0f, angle), c.onScreen) << c.what;
        if (c.point.x != 0.0f || c.point.y != 0.0f || c.point.z < 0.0f) {
            EXPECT_NEAR(angle, c.angle, 1e-3) << c.what;
        }
    }
    // The ghost is drawn only when some of it can be seen.
    struct Sphere {
        const char* what;
        Vec3 centre;
        bool inView;
    } spheres[] = {
        {"ahead", {0, 0, 1000}, true},
        {"behind the camera but reaching past it", {0, 0, -300}, true},
        {"wholly behind", {0, 0, -500}, false},
        {"its centre beyond the right edge, its side inside", {-1900, 0, 3000}, true},
        {"wholly beyond the right edge", {-2400, 0, 3000}, false},
        {"wholly above", {0, 2000, 3000}, false},
    };
    for (const Sphere& c : spheres)
        EXPECT_EQ(SphereInView(eye, c.centre, 400.0f, 45.0f, 4.0f / 3.0f), c.inView) << c.what;
    // A tilted up vector counts only in its part square to the view.
    eye.up = {0.0f, 0.8f, -0.6f};
    float angle;
    EXPECT_FALSE(PointOnScreen(eye, {0, -5000, 1000}, 45.0f, 4.0f / 3.0f, angle));
    EXPECT_NEAR(angle, -pi / 2, 1e-3);
}
