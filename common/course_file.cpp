// Reading and writing course files.
#include "common/course_file.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/careful_save.h"
#include "common/regular_file.h"

namespace {

bool LineFault(std::string& error, size_t line, const std::string& reason)
{
    error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

// Splits on blanks and tabs; false when there are more than `most` words.
bool SplitWords(const std::string& line, std::vector<std::string>& words, size_t most)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            i++;
        if (i >= line.size())
            break;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            i++;
        if (words.size() == most)
            return false;
        words.push_back(line.substr(start, i - start));
    }
    return true;
}

// The whole word must be a finite number in plain decimal notation (no hex,
// no inf or nan, which strtod would take).
bool ParseNumber(const std::string& word, double& value)
{
    if (word.empty() || word.size() > 32)
        return false;
    for (char c : word)
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
            return false;
    char* end = nullptr;
    errno = 0;
    value = strtod(word.c_str(), &end);
    return errno == 0 && end && *end == '\0' && std::isfinite(value);
}

bool ParseHex64(const std::string& word, uint64_t& value)
{
    if (word.empty() || word.size() > 16)
        return false;
    value = 0;
    for (char c : word) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        value = value << 4 | (uint64_t)digit;
    }
    return true;
}

bool ParseCount(const std::string& word, uint64_t& value)
{
    if (word.empty() || word.size() > 19)
        return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (uint64_t)(c - '0');
    }
    return true;
}

bool ParseGate(const std::vector<std::string>& words, CourseGate& gate, std::string& reason)
{
    if (words.size() != 8) {
        reason = "a gate is seven numbers: centre x y z, facing x y z, radius";
        return false;
    }
    double v[7];
    for (int i = 0; i < 7; i++)
        if (!ParseNumber(words[i + 1], v[i])) {
            reason = "\"" + words[i + 1].substr(0, 32) + "\" is not a finite number";
            return false;
        }
    for (int i = 0; i < 3; i++)
        if (std::fabs(v[i]) > COURSE_MAX_COORDINATE) {
            reason = "the gate's centre lies beyond any landscape";
            return false;
        }
    double length = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
    if (!(length > 1.0e-6) || !std::isfinite(length)) {
        reason = "the gate faces no direction";
        return false;
    }
    if (!(v[6] >= COURSE_MIN_RADIUS && v[6] <= COURSE_MAX_RADIUS)) {
        reason = "a gate's radius is 1 to 10000";
        return false;
    }
    gate = {v[0], v[1], v[2], v[3] / length, v[4] / length, v[5] / length, v[6]};
    return true;
}

bool WriteCourse(FILE* out, const void* data)
{
    std::string text = FormatCourse(*(const Course*)data);
    return fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool ParseCourse(const std::string& text, Course& course, std::string& error)
{
    course = Course();
    if (text.size() > COURSE_MAX_BYTES) {
        error = "larger than any course (" + std::to_string(text.size()) + " bytes)";
        return false;
    }
    bool seenMagic = false, seenName = false, seenLandscape = false;
    size_t lineNumber = 0, start = 0;
    std::vector<std::string> words;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        lineNumber++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > COURSE_MAX_LINE)
            return LineFault(error, lineNumber, "longer than " + std::to_string(COURSE_MAX_LINE) + " characters");
        for (char c : line)
            if ((unsigned char)c < 0x20 && c != '\t')
                return LineFault(error, lineNumber, "holds a control character");
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        if (!SplitWords(line, words, 8))
            return LineFault(error, lineNumber, "too many words");
        if (!seenMagic) {
            if (line != COURSE_MAGIC)
                return LineFault(error, lineNumber, std::string("not a course file (it starts with \"") + COURSE_MAGIC + "\")");
            seenMagic = true;
            continue;
        }
        const std::string& key = words[0];
        if (key == "name") {
            if (seenName)
                return LineFault(error, lineNumber, "a second name");
            size_t at = line.find("name") + 4;
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
                at++;
            std::string name = line.substr(at);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                name.pop_back();
            if (name.empty() || name.size() > COURSE_MAX_NAME)
                return LineFault(error, lineNumber, "a name is 1 to " + std::to_string(COURSE_MAX_NAME) + " characters");
            for (char c : name)
                if ((unsigned char)c >= 0x80 || c == '\t')
                    return LineFault(error, lineNumber, "a name is plain printable text");
            course.name = name;
            seenName = true;
        } else if (key == "landscape") {
            if (seenLandscape)
                return LineFault(error, lineNumber, "a second landscape");
            if (words.size() == 2 && words[1] == "none") {
                course.hasLandscape = false;
            } else if (words.size() == 3 && ParseHex64(words[1], course.landscapeDigest) &&
                       ParseCount(words[2], course.landscapeBytes)) {
                course.hasLandscape = true;
            } else {
                return LineFault(error, lineNumber, "the landscape is \"none\" or a digest in hex and a byte count");
            }
            seenLandscape = true;
        } else if (key == "gate") {
            if (course.gates.size() == COURSE_MAX_GATES)
                return LineFault(error, lineNumber, "more than " + std::to_string(COURSE_MAX_GATES) + " gates");
            CourseGate gate;
            std::string reason;
            if (!ParseGate(words, gate, reason))
                return LineFault(error, lineNumber, reason);
            course.gates.push_back(gate);
        } else {
            return LineFault(error, lineNumber, "unknown entry \"" + key.substr(0, 32) + "\"");
        }
    }
    if (!seenMagic)
        error = std::string("empty: a course file starts with \"") + COURSE_MAGIC + "\"";
    else if (!seenName)
        error = "the course has no name";
    else if (!seenLandscape)
        error = "the course names no landscape (\"landscape none\" for the generated one)";
    else if (course.gates.empty())
        error = "the course has no gates";
    else
        return true;
    return false;
}

bool ReadCourseFile(const char* path, Course& course, std::string& error)
{
    std::string text;
    if (!ReadSmallTextFile(path, COURSE_MAX_BYTES, text, error))
        return false;
    std::string reason;
    if (!ParseCourse(text, course, reason)) {
        error = std::string(path) + ": " + reason;
        return false;
    }
    return true;
}

std::string FormatCourse(const Course& course)
{
    std::string text = std::string(COURSE_MAGIC) + "\n";
    text += "name " + course.name + "\n";
    char line[256];
    if (course.hasLandscape)
        snprintf(line, sizeof line, "landscape %016" PRIx64 " %" PRIu64 "\n", course.landscapeDigest,
                 course.landscapeBytes);
    else
        snprintf(line, sizeof line, "landscape none\n");
    text += line;
    text += "# gate: centre x y z, facing x y z, radius (world units)\n";
    for (const CourseGate& g : course.gates) {
        snprintf(line, sizeof line, "gate %.1f %.1f %.1f %.6f %.6f %.6f %.1f\n", g.x, g.y, g.z, g.nx, g.ny, g.nz,
                 g.radius);
        text += line;
    }
    return text;
}

bool SaveCourseFile(const char* path, const Course& course, std::string& error)
{
    SaveContent content = {WriteCourse, &course, "the course"};
    return SaveFileCarefully(path, content, error);
}
