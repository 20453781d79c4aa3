// The course file: a named row of gates to fly through in order, each a
// centre, the way it faces and a radius, and the landscape it was made over.
// A small text format, read as carefully as every other file here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// First line of every course file, with the format's version.
const char COURSE_MAGIC[] = "pelorin-course 1";
// Limits that keep a damaged or hostile file small: a course of the most gates
// with long comments stays far under the byte limit.
const size_t COURSE_MAX_BYTES = 64 * 1024;
const size_t COURSE_MAX_LINE = 256;   // characters on one line, without its end
const size_t COURSE_MAX_GATES = 200;
const size_t COURSE_MAX_NAME = 60;    // characters of the course's name
const double COURSE_MAX_COORDINATE = 1.0e7; // world units from the origin, each axis
const double COURSE_MIN_RADIUS = 1.0;       // world units
const double COURSE_MAX_RADIUS = 10000.0;

// A gate: passed by flying through its disc in the way it faces.
struct CourseGate {
    double x, y, z;    // centre, world units
    double nx, ny, nz; // facing, a unit vector (the reader normalises it)
    double radius;     // world units
};

struct Course {
    std::string name;
    bool hasLandscape = false;    // made over a landscape file
    uint64_t landscapeDigest = 0; // of its bytes, as a recording keeps it
    uint64_t landscapeBytes = 0;
    std::vector<CourseGate> gates;
};

// Parses a course held in memory. False with a reason in `error` that names
// the line ("line 4: ...") where one line is at fault; no file name, no line end.
bool ParseCourse(const std::string& text, Course& course, std::string& error);
// Reads the file at `path`; the error then starts with the file's name.
bool ReadCourseFile(const char* path, Course& course, std::string& error);
// The course as its file holds it; ParseCourse reads it back to the same gates
// within the printed precision (a tenth of a unit, a millionth of a facing).
std::string FormatCourse(const Course& course);
// Writes it carefully (never half a file); false with a one-line reason.
bool SaveCourseFile(const char* path, const Course& course, std::string& error);
