// libFuzzer target: any bytes as a course file. A course that parses has only
// finite gates within the limits, and writes out to one that parses again to
// the same gates within the printed precision.
// fuzz-sources: common/course_file.cpp common/careful_save.cpp common/regular_file.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/course_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text((const char*)data, size);
    Course course;
    std::string error;
    if (!ParseCourse(text, course, error)) {
        if (error.empty() || error.find('\n') != std::string::npos)
            abort();
        return 0;
    }
    if (course.gates.empty() || course.gates.size() > COURSE_MAX_GATES || course.name.empty())
        abort();
    for (const CourseGate& g : course.gates) {
        double length = std::sqrt(g.nx * g.nx + g.ny * g.ny + g.nz * g.nz);
        if (!std::isfinite(g.x + g.y + g.z) || std::fabs(length - 1.0) > 1e-9 || !(g.radius >= COURSE_MIN_RADIUS) ||
            !(g.radius <= COURSE_MAX_RADIUS))
            abort();
    }
    std::string again = FormatCourse(course);
    Course back;
    if (!ParseCourse(again, back, error) || back.gates.size() != course.gates.size() || back.name != course.name)
        abort();
    for (size_t i = 0; i < back.gates.size(); i++) {
        const CourseGate &a = course.gates[i], &b = back.gates[i];
        if (std::fabs(a.x - b.x) > 0.051 || std::fabs(a.y - b.y) > 0.051 || std::fabs(a.z - b.z) > 0.051 ||
            std::fabs(a.nx - b.nx) > 2e-6 || std::fabs(a.ny - b.ny) > 2e-6 || std::fabs(a.nz - b.nz) > 2e-6 ||
            std::fabs(a.radius - b.radius) > 0.051)
            abort();
    }
    return 0;
}
