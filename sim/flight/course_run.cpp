// Gates passed in the step, and the course clock.
#include "sim/flight/course_run.h"

#include <cmath>

#include "sim/flight/aircraft.h"

const Course* activeCourse;
CourseRun courseRun;

void ResetCourseState()
{
    activeCourse = nullptr;
    courseRun = CourseRun();
}

bool PathCrossesGate(const CourseGate& g, const Vec3& from, const Vec3& to)
{
    // Signed distances from the gate's plane, in double so that a path of a
    // few units far from the origin keeps its precision.
    double ax = from.x - g.x, ay = from.y - g.y, az = from.z - g.z;
    double bx = to.x - g.x, by = to.y - g.y, bz = to.z - g.z;
    double da = ax * g.nx + ay * g.ny + az * g.nz;
    double db = bx * g.nx + by * g.ny + bz * g.nz;
    if (!(da <= 0.0 && db > 0.0))
        return false;
    double t = da / (da - db);
    double px = ax + t * (bx - ax), py = ay + t * (by - ay), pz = az + t * (bz - az);
    return px * px + py * py + pz * pz <= g.radius * g.radius;
}

CourseEvent AdvanceCourseRun(CourseRun& run, const Course& course, const Vec3& from, const Vec3& to, bool crashed)
{
    if (run.finished || run.crashed || course.gates.empty())
        return COURSE_NOTHING;
    if (crashed) {
        run.crashed = true;
        return COURSE_CRASHED;
    }
    if (run.started)
        run.steps++;
    if (!PathCrossesGate(course.gates[run.nextGate], from, to))
        return COURSE_NOTHING;
    if (!run.started) {
        run.started = true;
        run.steps = 0;
    }
    run.splits.push_back(run.steps);
    run.nextGate++;
    if (run.nextGate < course.gates.size())
        return COURSE_GATE;
    run.finished = true;
    return COURSE_FINISHED;
}

CourseEvent CheckCourseStep(const Vec3& from, bool crashed)
{
    if (!activeCourse)
        return COURSE_NOTHING;
    return AdvanceCourseRun(courseRun, *activeCourse, from, plane.pos, crashed);
}

void StartCourseAttempt()
{
    courseRun = CourseRun();
}
