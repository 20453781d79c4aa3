// A time trial through a course's gates: whether a step's path passes a gate,
// and the attempt's progress and clock. Decided in the step from the step's
// own positions, so a replay passes exactly the gates the flight passed. The
// progress is not part of the flight's state: nothing the flight reads
// depends on it. No GL.
#pragma once

#include <cstdint>
#include <vector>

#include "common/course_file.h"
#include "sim/math/vec_math.h"

// One attempt at the course, from the start or a restart.
struct CourseRun {
    size_t nextGate = 0;  // the gate to pass next; the gate count once finished
    bool started = false; // the first gate is passed: the clock runs
    bool finished = false;
    bool crashed = false; // the attempt ended in a crash before the last gate
    int64_t steps = 0;    // the course clock: steps since the first gate was passed
    std::vector<int64_t> splits; // the clock at each gate passed (0 at the first)
};

// What one step did to an attempt.
enum CourseEvent {
    COURSE_NOTHING,
    COURSE_GATE,     // passed a gate that is not the last (the first starts the clock)
    COURSE_FINISHED, // passed the last gate: the clock stopped
    COURSE_CRASHED,  // the attempt ended in a crash
};

// The course being flown (null: none, and the step does nothing more), and the
// attempt at it. Set by the shell before the game runs.
extern const Course* activeCourse;
extern CourseRun courseRun;

// Whether the straight path from `from` to `to` crosses the gate's disc in the
// way the gate faces: from behind its plane (or on it) to in front of it,
// through a point no farther than the radius from the centre (the rim counts).
// A path backwards through the disc, or along its plane, does not.
bool PathCrossesGate(const CourseGate& gate, const Vec3& from, const Vec3& to);
// One step of an attempt: the clock advances once started, then the step's
// path is tested against the next gate only (gates are passed in order). A
// step in which the jet crashes passes no gate and ends the attempt.
CourseEvent AdvanceCourseRun(CourseRun& run, const Course& course, const Vec3& from, const Vec3& to, bool crashed);
// The step's call: the active course's attempt, from the position the step
// started at to the aircraft's now; `crashed`: the step started the explosion.
CourseEvent CheckCourseStep(const Vec3& from, bool crashed);
// A new attempt: the restart question's restart.
void StartCourseAttempt();
// No course: the start state.
void ResetCourseState();
