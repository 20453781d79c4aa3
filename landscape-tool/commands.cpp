// Command line of pelorin-landscape: import, export, info, map and course.
#include "landscape-tool/commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/command_line.h"
#include "common/course_file.h"
#include "common/flight_recording.h"
#include "common/landscape_writer.h"
#include "landscape-tool/course_maker.h"
#include "landscape-tool/export_image.h"
#include "landscape-tool/flight_map.h"
#include "landscape-tool/landscape_info.h"
#include "landscape-tool/png_io.h"
#include "landscape-tool/resample.h"

namespace {

const char* const PROGRAM = "pelorin-landscape";
const int DEFAULT_SIZE = 41;
const double DEFAULT_WHITE_HEIGHT = 8000.0;
const double MAX_WHITE_HEIGHT = 2147483647.0; // heights are written as ints

const char* const USAGE = "usage: pelorin-landscape import IMAGE -o FILE [--size N] [--height H] [--keep-border]\n"
                          "       pelorin-landscape export FILE -o IMAGE [--grey16]\n"
                          "       pelorin-landscape info FILE\n"
                          "       pelorin-landscape map RECORDING|TRACK.csv OUT.png\n"
                          "       pelorin-landscape course RECORDING [--every SECONDS] [--radius R] -o COURSE\n";
const char* const TAIL = "The manual page pelorin-landscape(6) tells each command in full.\n";

// One row and one help line per option; which command takes which is in
// OPTION_COMMANDS.
const OptionRow TOOL_OPTIONS[] = {
    {"output", 'o', "FILE", "the file to write (import, export, map, course)"},
    {"size", 0, "N", "import: points a side of the grid made (default 41)"},
    {"height", 0, "H", "import: the height of white (default 8000)"},
    {"keep-border", 0, nullptr, "import: keep the image's edge instead of a flat border"},
    {"grey16", 0, nullptr, "export: 16-bit grey heights instead of the editor's colours"},
    {"every", 0, "SECONDS", "course: seconds of flight between gates"},
    {"radius", 0, "R", "course: the gates' radius in world units"},
};
const char* const OPTION_COMMANDS[][2] = {
    {"output", "import export map course"}, {"size", "import"}, {"height", "import"},
    {"keep-border", "import"}, {"grey16", "export"}, {"every", "course"}, {"radius", "course"},
};

struct Options {
    std::string command;
    std::vector<std::string> operands;
    std::string output;
    std::string size;
    std::string height;
    std::string every;
    std::string radius;
    bool keepBorder = false;
    bool grey16 = false;
};

int Fail(const std::string& line)
{
    fprintf(stderr, "%s\n", line.c_str());
    return 1;
}

int UsageError(const std::string& reason)
{
    UsageLine(PROGRAM, reason);
    return EXIT_USAGE;
}

// The whole text must be a number; leading blanks or trailing letters are not.
bool ParseInteger(const std::string& text, long& value)
{
    if (text.empty() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    char* end = nullptr;
    errno = 0;
    value = strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool ParseReal(const std::string& text, double& value)
{
    if (text.empty() || !(text[0] == '-' || text[0] == '.' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    char* end = nullptr;
    value = strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

// Returns an empty string when the options fit the command, else the reason.
std::string CheckArguments(const CommandLine& line, Options& options)
{
    for (const OptionUse& use : line.options) {
        std::string name = use.name;
        for (const auto& row : OPTION_COMMANDS)
            if (name == row[0] && (" " + std::string(row[1]) + " ").find(" " + options.command + " ") == std::string::npos)
                return "unknown option --" + name + " for " + options.command;
        if (name == "output")
            options.output = use.value;
        else if (name == "size")
            options.size = use.value;
        else if (name == "height")
            options.height = use.value;
        else if (name == "every")
            options.every = use.value;
        else if (name == "radius")
            options.radius = use.value;
        else if (name == "keep-border")
            options.keepBorder = true;
        else if (name == "grey16")
            options.grey16 = true;
    }
    options.operands.assign(line.operands.begin() + 1, line.operands.end());
    // map names its picture like the others, or as its second operand.
    if (options.command == "map" && options.output.empty() && options.operands.size() == 2) {
        options.output = options.operands[1];
        options.operands.pop_back();
    }
    if (options.operands.size() != 1)
        return options.command + " takes one file";
    if (options.command == "info" && !options.output.empty())
        return "info writes no file (-o)";
    if (options.command != "info" && options.output.empty())
        return options.command + " needs -o and an output file";
    return "";
}

int Import(const Options& options)
{
    const char* image = options.operands[0].c_str();
    long size = DEFAULT_SIZE;
    if (!options.size.empty() &&
        (!ParseInteger(options.size, size) || size < 2 || size > LANDSCAPE_MAX_SIZE))
        return Fail(std::string(image) + ": cannot import at --size " + options.size + ": a grid has 2 to " +
                    std::to_string(LANDSCAPE_MAX_SIZE) + " points a side");
    double white = DEFAULT_WHITE_HEIGHT;
    if (!options.height.empty() &&
        (!ParseReal(options.height, white) || white < 0.0 || white > MAX_WHITE_HEIGHT))
        return Fail(std::string(image) + ": cannot import with --height " + options.height +
                    ": white must be a height from 0 to 2147483647");

    GreyImage grey;
    std::string error;
    if (!ReadGreyPng(image, grey, error))
        return Fail(error);
    std::vector<float> samples = ResampleImage(grey, (int)size);
    grey = GreyImage();
    std::vector<int> heights = HeightsFromSamples(samples, (int)size, white, options.keepBorder);
    if (!SaveLandscapeFile(options.output.c_str(), (int)size, (int)size, heights.data(), error))
        return Fail(error);
    return 0;
}

int Export(const Options& options)
{
    const char* file = options.operands[0].c_str();
    std::string text, error;
    if (!LoadLandscapeText(file, text, error))
        return Fail(error);
    LandscapeInfo info = AnalyseLandscape(text);
    if (!info.sizeRead)
        return Fail(std::string(file) + ": no grid size could be read");
    if (info.refused)
        return Fail(std::string(file) + ": the simulator refuses this file: " + info.refusal);
    if (info.grid.size < 1)
        return Fail(std::string(file) + ": the grid has no points");

    int n = info.grid.size;
    size_t clipped = 0;
    std::vector<uint8_t> pixels = options.grey16 ? Grey16Pixels(info.grid, clipped) : ColourPixels(info.grid);
    if (!WritePngFile(options.output.c_str(), n, n, options.grey16 ? PNG_GREY16 : PNG_RGB8, pixels, error))
        return Fail(error);
    if (clipped > 0)
        fprintf(stderr, "%s: %zu heights outside 0 to 65535 were held at the nearer end\n", options.output.c_str(),
                clipped);
    return 0;
}

// The flight of a recording as the simulator's own replay gives it (pelorin
// --track beside this program); 0, or the exit status after its line.
int TrackOfRecording(const char* file, std::vector<TrackRow>& rows)
{
    std::string csv, error;
    char* absolute = realpath(file, nullptr);
    bool ran = absolute && RunTrack(SimulatorProgram(), absolute, csv, error);
    free(absolute);
    if (!ran && error.empty())
        return 1;
    if (!ran)
        return Fail(std::string(file) + ": " + error);
    if (!ParseTrack(csv, rows, error))
        return Fail(std::string(file) + ": " + error);
    return 0;
}

// The track straight from a CSV file, or from the simulator's replay of a
// recording; the landscape.dmf here shades tile 0, as the replay flew over it.
int Map(const Options& options)
{
    const char* file = options.operands[0].c_str();
    std::string text, error;
    if (!LoadLandscapeText(file, text, error))
        return Fail(error);
    std::vector<TrackRow> rows;
    if (text.compare(0, 5, "time,") == 0) {
        if (!ParseTrack(text, rows, error))
            return Fail(std::string(file) + ": " + error);
    } else if (int status = TrackOfRecording(file, rows)) {
        return status;
    }
    LandscapeInfo info;
    bool shaded = false;
    std::string landscape;
    if (LoadLandscapeText("landscape.dmf", landscape, error)) {
        info = AnalyseLandscape(landscape);
        shaded = info.sizeRead && !info.refused && info.grid.size > 0;
    }
    int width = 0, height = 0;
    std::vector<uint8_t> pixels = DrawFlightMap(rows, shaded ? &info.grid : nullptr, width, height);
    if (!WritePngFile(options.output.c_str(), width, height, PNG_RGB8, pixels, error))
        return Fail(error);
    return 0;
}

// The course's name: the output file's name without its folder and ending.
std::string CourseNameFor(const std::string& output)
{
    size_t slash = output.rfind('/');
    std::string name = output.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    std::string clean;
    for (char c : name)
        if ((unsigned char)c >= 0x20 && (unsigned char)c < 0x7f && clean.size() < COURSE_MAX_NAME)
            clean += c;
    return clean.empty() ? "course" : clean;
}

int MakeCourse(const Options& options)
{
    const char* file = options.operands[0].c_str();
    double every = COURSE_DEFAULT_EVERY, radius = COURSE_DEFAULT_RADIUS;
    if (!options.every.empty() && (!ParseReal(options.every, every) || every < 0.1 || every > 3600.0))
        return Fail(std::string(file) + ": cannot make gates --every " + options.every +
                    ": a gate every 0.1 to 3600 seconds");
    if (!options.radius.empty() &&
        (!ParseReal(options.radius, radius) || radius < COURSE_MIN_RADIUS || radius > COURSE_MAX_RADIUS))
        return Fail(std::string(file) + ": cannot make gates of --radius " + options.radius +
                    ": a radius is 1 to 10000");
    // The header says which landscape the flight was made over.
    Recording recording;
    std::string error;
    if (!ReadRecording(file, recording, error))
        return Fail(error);
    std::vector<TrackRow> rows;
    if (int status = TrackOfRecording(file, rows))
        return status;
    Course course;
    course.name = CourseNameFor(options.output);
    course.hasLandscape = recording.hasLandscape;
    course.landscapeDigest = recording.landscapeDigest;
    course.landscapeBytes = recording.landscapeBytes;
    if (!GatesAlongTrack(rows, every, radius, course.gates, error))
        return Fail(std::string(file) + ": " + error);
    if (!SaveCourseFile(options.output.c_str(), course, error))
        return Fail(error);
    return 0;
}

int Info(const Options& options)
{
    const char* file = options.operands[0].c_str();
    std::string text, error;
    if (!LoadLandscapeText(file, text, error))
        return Fail(error);
    fputs(FormatLandscapeInfo(file, AnalyseLandscape(text)).c_str(), stdout);
    return 0;
}

} // namespace

int RunLandscapeTool(int argc, char** argv)
{
    CommandLine line;
    switch (ReadCommandLine(argc, argv, PROGRAM, PELORIN_VERSION, USAGE, TOOL_OPTIONS,
                            sizeof TOOL_OPTIONS / sizeof TOOL_OPTIONS[0], TAIL, argc, line)) {
    case COMMAND_LINE_DONE:
        return 0;
    case COMMAND_LINE_USAGE:
        return EXIT_USAGE;
    case COMMAND_LINE_RUN:
        break;
    }
    if (line.operands.empty())
        return UsageError("no command given");
    Options options;
    options.command = line.operands[0];
    if (options.command != "import" && options.command != "export" && options.command != "info" &&
        options.command != "map" && options.command != "course")
        return UsageError("unknown command " + options.command);
    std::string problem = CheckArguments(line, options);
    if (!problem.empty())
        return UsageError(problem);
    if (options.command == "import")
        return Import(options);
    if (options.command == "export")
        return Export(options);
    if (options.command == "map")
        return Map(options);
    if (options.command == "course")
        return MakeCourse(options);
    return Info(options);
}
