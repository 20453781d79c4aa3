// Gates along a recorded flight's path.
#include "landscape-tool/course_maker.h"

#include <cmath>

static bool Airborne(const TrackRow& row)
{
    return !row.onGround && !row.crashed;
}

// A gate at row `i`, facing from the row before it to the row after it.
static bool GateAt(const std::vector<TrackRow>& rows, size_t i, size_t first, size_t last, double radius,
                   CourseGate& gate)
{
    size_t a = i > first ? i - 1 : i, b = i < last ? i + 1 : i;
    double nx = rows[b].x - rows[a].x, ny = rows[b].y - rows[a].y, nz = rows[b].z - rows[a].z;
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 1e-6))
        return false;
    gate = {rows[i].x, rows[i].y, rows[i].z, nx / length, ny / length, nz / length, radius};
    return true;
}

bool GatesAlongTrack(const std::vector<TrackRow>& rows, double every, double radius, std::vector<CourseGate>& gates,
                     std::string& error)
{
    gates.clear();
    size_t first = 0;
    while (first < rows.size() && !Airborne(rows[first]))
        first++;
    // The path ends where the first flight leaves the air or starts again.
    size_t last = first;
    while (last + 1 < rows.size() && Airborne(rows[last + 1]) && rows[last + 1].time > rows[last].time)
        last++;
    if (first >= rows.size() || last == first) {
        error = "the flight never stays in the air long enough for a gate";
        return false;
    }
    if (every < 0.1)
        every = 0.1;
    double due = rows[first].time;
    for (size_t i = first; i <= last && gates.size() < COURSE_MAX_GATES; i++) {
        if (rows[i].time + 1e-9 < due && i != last)
            continue;
        // The last gate closes the path unless one stands very near it.
        if (i == last && !gates.empty() && rows[i].time < due - every * 0.5)
            break;
        CourseGate gate;
        if (GateAt(rows, i, first, last, radius, gate))
            gates.push_back(gate);
        due = rows[i].time + every;
    }
    if (gates.size() < 2) {
        error = "the flight's path gives fewer than two gates";
        return false;
    }
    return true;
}
