// The time trial's part of the game: course, ghost, notices and best times.
#include "sim/shell/course_play.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "common/best_times.h"
#include "common/careful_save.h"
#include "common/course_file.h"
#include "common/regular_file.h"
#include "sim/flight/course_run.h"
#include "sim/flight/landing_score.h"
#include "sim/render/course_draw.h"
#include "sim/shell/ghost.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay_file.h"

const int SPLIT_NOTICE_STEPS = 200;     // two seconds
const int TOUCHDOWN_NOTICE_STEPS = 500; // five seconds

static Course flownCourse;
static bool courseOn;
static uint64_t courseKey;
static uint64_t landscapeKey;
static std::vector<int64_t> ghostSplits;
static std::string playedPath;    // --play's recording
static std::string runRecording;  // the live game's recording file
static bool newBestThisGame;
static size_t splitsSeen;
static int64_t touchdownsSeen;
static bool aside;
static CourseRun asideRun;
static BestTimes best;
static bool bestRead;
static std::string dataFolder;

void ResetCoursePlayState()
{
    flownCourse = Course();
    courseOn = false;
    courseKey = landscapeKey = 0;
    ghostSplits.clear();
    playedPath.clear();
    runRecording.clear();
    newBestThisGame = false;
    splitsSeen = 0;
    touchdownsSeen = 0;
    aside = false;
    asideRun = CourseRun();
    best = BestTimes();
    bestRead = false;
    dataFolder.clear();
}

static std::string Today()
{
    time_t now = time(nullptr);
    struct tm local;
    char text[16] = "1970-01-01";
    if (localtime_r(&now, &local))
        strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

static std::string KeyText(uint64_t key)
{
    char text[24];
    snprintf(text, sizeof text, "%016" PRIx64, key);
    return text;
}

static std::string BestTimesPath()
{
    return dataFolder + "/best-times";
}

static std::string GhostPath()
{
    return dataFolder + "/ghosts/" + KeyText(courseKey) + ".rec";
}

// The best times, read once; a damaged file is set aside and a fresh one started.
static bool ReadBest()
{
    if (bestRead)
        return !dataFolder.empty();
    bestRead = true;
    dataFolder = PelorinDataFolder(getenv("XDG_DATA_HOME"), getenv("HOME"));
    if (dataFolder.empty())
        return false;
    std::string path = BestTimesPath(), text, error;
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return true;
    if (ReadSmallTextFile(path.c_str(), BEST_TIMES_MAX_BYTES, text, error) && ParseBestTimes(text, best, error))
        return true;
    if (error.compare(0, path.size(), path) != 0)
        error = path + ": " + error;
    std::string damaged = path + ".damaged";
    if (rename(path.c_str(), damaged.c_str()) == 0)
        printf("%s; set aside as %s, and a fresh one started\n", error.c_str(), damaged.c_str());
    else
        printf("%s; a fresh one started\n", error.c_str());
    best = BestTimes();
    return true;
}

static void SaveBest()
{
    std::string error;
    if (!MakeFolders(dataFolder, error) || !SaveBestTimes(BestTimesPath().c_str(), best, error))
        fprintf(stderr, "%s\n", error.c_str());
}

struct Bytes {
    const std::string* text;
};

static bool WriteBytes(FILE* out, const void* data)
{
    const std::string& text = *((const Bytes*)data)->text;
    return fwrite(text.data(), 1, text.size(), out) == text.size();
}

// Copies the recording at `from` to be the course's ghost from now on.
static void KeepGhost(const std::string& from)
{
    std::string text, error;
    if (!ReadSmallTextFile(from.c_str(), RECORDING_MAX_BYTES, text, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    Bytes bytes = {&text};
    SaveContent content = {WriteBytes, &bytes, "the best run"};
    if (!MakeFolders(dataFolder + "/ghosts", error) || !SaveFileCarefully(GhostPath().c_str(), content, error))
        fprintf(stderr, "%s\n", error.c_str());
}

static uint64_t LandscapeKeyNow()
{
    Recording here = RecordingHeaderNow();
    uint64_t values[3] = {here.hasLandscape ? 1u : 0u, here.landscapeDigest, here.landscapeBytes};
    return Fnv1a64(values, sizeof values);
}

void PrepareCourse(const CourseOptions& options, const char* played, void (*startState)())
{
    if (!options.course)
        return;
    Course course;
    std::string error;
    if (!ReadCourseFile(options.course, course, error)) {
        printf("%s; flying without a course\n", error.c_str());
        return;
    }
    Recording here = RecordingHeaderNow();
    if (course.hasLandscape != here.hasLandscape ||
        (course.hasLandscape &&
         (course.landscapeDigest != here.landscapeDigest || course.landscapeBytes != here.landscapeBytes)))
        printf("%s: made over another landscape than the one here\n", options.course);
    uint64_t landscape = LandscapeKeyNow();
    std::string text = FormatCourse(course);
    uint64_t key = Fnv1a64(text.data(), text.size(), landscape);
    // The ghost's replay runs the game's own step over the global state, so it
    // comes before the game's state is set up, which then starts afresh.
    dataFolder = PelorinDataFolder(getenv("XDG_DATA_HOME"), getenv("HOME"));
    courseKey = key;
    std::string ghostFile = options.ghost ? options.ghost : (dataFolder.empty() ? "" : GhostPath());
    struct stat info;
    GhostRun ghost;
    bool haveGhost = false;
    if (!ghostFile.empty() && (options.ghost || stat(ghostFile.c_str(), &info) == 0)) {
        Recording recording;
        if (LoadReplayFile(ghostFile.c_str(), recording)) {
            haveGhost = ReplayGhost(recording, course, ghost, startState);
            if (!haveGhost)
                printf("%s: passes no gate of the course; flying without a ghost\n", ghostFile.c_str());
        }
    }
    startState();
    flownCourse = course;
    courseOn = true;
    courseKey = key;
    landscapeKey = landscape;
    activeCourse = &flownCourse;
    if (played)
        playedPath = played;
    if (haveGhost) {
        ghostPoses = ghost.poses;
        ghostSplits = ghost.splits;
    }
    ReadBest();
}

void RecordCourseRun(const char* recordPath)
{
    if (!courseOn)
        return;
    if (recordPath) {
        runRecording = recordPath;
        return;
    }
    if (!ReadBest())
        return;
    std::string path = dataFolder + "/ghosts/" + KeyText(courseKey) + ".last.rec", error;
    if (!MakeFolders(dataFolder + "/ghosts", error) || !RecordToFile(path.c_str(), error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    runRecording = path;
}

static void SetNotice(HudNotice& notice, const char* text, float red, float green, float blue, int steps)
{
    snprintf(notice.text, sizeof notice.text, "%s", text);
    notice.red = red, notice.green = green, notice.blue = blue;
    notice.stepsLeft = steps;
}

static void Finished()
{
    int64_t steps = courseRun.steps;
    const BestEntry* kept = ReadBest() ? FindBest(best, "course", courseKey) : nullptr;
    if (!kept || steps < kept->value) {
        printf("Course \"%s\" finished in %.2f s (a new best)\n", flownCourse.name.c_str(), steps / 100.0);
        if (!dataFolder.empty()) {
            SetBest(best, "course", courseKey, steps, Today());
            SaveBest();
            if (!playedPath.empty())
                KeepGhost(playedPath);
            else
                newBestThisGame = true;
        }
    } else {
        printf("Course \"%s\" finished in %.2f s (best %.2f s)\n", flownCourse.name.c_str(), steps / 100.0,
               kept->value / 100.0);
    }
}

static void GatePassed(size_t index)
{
    size_t count = flownCourse.gates.size();
    int64_t split = courseRun.splits[index];
    char text[HUD_TEXT_SIZE];
    const char* label = index + 1 == count ? "Finish" : "Gate";
    if (index == 0) {
        snprintf(text, sizeof text, "Gate 1/%zu  start", count);
        SetNotice(splitNotice, text, 1.0f, 1.0f, 1.0f, SPLIT_NOTICE_STEPS);
        return;
    }
    if (index < ghostSplits.size()) {
        int64_t diff = split - ghostSplits[index];
        snprintf(text, sizeof text, "%s %zu/%zu  %.2f s  %+.2f", label, index + 1, count, split / 100.0,
                 diff / 100.0);
        if (diff < 0)
            SetNotice(splitNotice, text, 0.2f, 1.0f, 0.2f, SPLIT_NOTICE_STEPS);
        else if (diff > 0)
            SetNotice(splitNotice, text, 1.0f, 0.25f, 0.2f, SPLIT_NOTICE_STEPS);
        else
            SetNotice(splitNotice, text, 1.0f, 1.0f, 1.0f, SPLIT_NOTICE_STEPS);
    } else {
        snprintf(text, sizeof text, "%s %zu/%zu  %.2f s", label, index + 1, count, split / 100.0);
        SetNotice(splitNotice, text, 1.0f, 1.0f, 1.0f, SPLIT_NOTICE_STEPS);
    }
}

// A measure as shown to a tenth, without a minus before a zero.
static double Shown(float value)
{
    return std::fabs(value) < 0.05f ? 0.0 : value;
}

static void TouchedDown()
{
    const Touchdown& t = lastTouchdown;
    char text[HUD_TEXT_SIZE];
    if (landscapeKey == 0)
        landscapeKey = LandscapeKeyNow();
    const BestEntry* kept = ReadBest() ? FindBest(best, "landing", landscapeKey) : nullptr;
    int bestScore = kept ? (int)kept->value : -1;
    if (t.score > bestScore && !dataFolder.empty()) {
        SetBest(best, "landing", landscapeKey, t.score, Today());
        SaveBest();
    }
    snprintf(text, sizeof text, "Touchdown: sink %.1f  nose %.1f  bank %.1f  centre line %.0f  score %d/100%s",
             Shown(t.sink), Shown(t.nose), Shown(t.bank), t.offset, t.score, t.score > bestScore ? " (best)" : "");
    SetNotice(touchdownNotice, text, 1.0f, 1.0f, 0.6f, TOUCHDOWN_NOTICE_STEPS);
}

void WatchCourse()
{
    if (splitNotice.stepsLeft > 0)
        splitNotice.stepsLeft--;
    if (touchdownNotice.stepsLeft > 0)
        touchdownNotice.stepsLeft--;
    if (aside)
        return;
    if (touchdownCount != touchdownsSeen) {
        touchdownsSeen = touchdownCount;
        TouchedDown();
    }
    if (!courseOn)
        return;
    if (courseRun.splits.size() < splitsSeen)
        splitsSeen = 0; // a new attempt
    while (splitsSeen < courseRun.splits.size()) {
        GatePassed(splitsSeen);
        splitsSeen++;
        if (courseRun.finished && splitsSeen == courseRun.splits.size())
            Finished();
    }
}

void SetCourseAside()
{
    aside = true;
    asideRun = courseRun;
    activeCourse = nullptr;
}

void PutCourseBack()
{
    if (!aside)
        return;
    aside = false;
    courseRun = asideRun;
    if (courseOn)
        activeCourse = &flownCourse;
    touchdownsSeen = touchdownCount;
}

void KeepBestRun()
{
    if (!newBestThisGame || runRecording.empty())
        return;
    newBestThisGame = false;
    KeepGhost(runRecording);
}
