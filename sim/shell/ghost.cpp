// Replaying a ghost's recording into poses.
#include "sim/shell/ghost.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/replay.h"
#include "sim/shell/track.h"

// The attempt under way is over (a new one began, or the replay ended):
// keep it when it beats what is kept.
static void CloseAttempt(GhostRun& attempt, GhostRun& kept)
{
    if (attempt.poses.empty())
        return;
    bool better = attempt.finished ? !kept.finished || attempt.poses.size() < kept.poses.size() : !kept.finished;
    if (better)
        kept = attempt;
    attempt = GhostRun();
}

bool ReplayGhost(const Recording& recording, const Course& course, GhostRun& ghost, void (*startState)())
{
    ghost = GhostRun();
    // The game's own lines (the landscape's echo, the flight's) are not this
    // replay's to print.
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDOUT_FILENO);
    if (null >= 0)
        close(null);
    // From the start state, whatever ran before: the terrain's generation
    // draws from the random generator, and the recording was flown over the
    // world a fresh start makes.
    startState();
    BuildWorldWithoutWindow();
    activeCourse = &course;
    courseRun = CourseRun();
    GhostRun attempt;
    if (StartReplay(recording.flights, 0)) {
        for (;;) {
            ReplayStatus status = ReplayStep();
            if (status == REPLAY_NEXT_FLIGHT)
                continue;
            if (status != REPLAY_STEPPED)
                break;
            if (!courseRun.started) {
                // A restart began a new attempt.
                CloseAttempt(attempt, ghost);
                continue;
            }
            if (attempt.finished || courseRun.crashed)
                continue;
            // One pose per step of the course clock; a paused step adds none.
            if ((size_t)courseRun.steps == attempt.poses.size())
                attempt.poses.push_back({plane.pos, plane.dir, plane.up, gearDown});
            attempt.splits = courseRun.splits;
            attempt.finished = courseRun.finished;
        }
    }
    CloseAttempt(attempt, ghost);
    activeCourse = nullptr;
    courseRun = CourseRun();
    fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    return !ghost.poses.empty();
}
