// `course`: a recorded flight made into a course, a gate every few seconds
// along the path it flew, each facing along the path. The positions come from
// the simulator's own replay (pelorin --track), as the map's do.
#pragma once

#include <string>
#include <vector>

#include "common/course_file.h"
#include "landscape-tool/flight_map.h"

const double COURSE_DEFAULT_EVERY = 3.0;   // seconds between gates
const double COURSE_DEFAULT_RADIUS = 250.0; // world units

// Gates along the first flight's airborne path, from the first row in the air
// to the last before it lands, crashes or the recording restarts, one every
// `every` seconds (at least 0.1) and a last one at the end of that path, each
// of radius `radius`. False with the reason when the flight gives no gate.
bool GatesAlongTrack(const std::vector<TrackRow>& rows, double every, double radius, std::vector<CourseGate>& gates,
                     std::string& error);
