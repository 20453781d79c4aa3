// Command line of pelorin-landscape: import, export and info.
#include "landscape-tool/commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/command_line.h"
#include "common/landscape_writer.h"
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
                          "       pelorin-landscape map RECORDING|TRACK.csv OUT.png\n";
const char* const TAIL = "The manual page pelorin-landscape(6) tells each command in full.\n";

// One row and one help line per option; which command takes which is in
// OPTION_COMMANDS.
const OptionRow TOOL_OPTIONS[] = {
    {"output", 'o', "FILE", "the file to write (import, export, map)"},
    {"size", 0, "N", "import: points a side of the grid made (default 41)"},
    {"height", 0, "H", "import: the height of white (default 8000)"},
    {"keep-border", 0, nullptr, "import: keep the image's edge instead of a flat border"},
    {"grey16", 0, nullptr, "export: 16-bit grey heights instead of the editor's colours"},
};
const char* const OPTION_COMMANDS[][2] = {
    {"output", "import export map"}, {"size", "import"}, {"height", "import"},
    {"keep-border", "import"}, {"grey16", "export"},
};

struct Options {
    std::string command;
    std::vector<std::string> operands;
    std::string output;
    std::string size;
    std::string height;
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

// The track straight from a CSV file, or from the simulator's replay of a
// recording; the landscape.dmf here shades tile 0, as the replay flew over it.
int Map(const Options& options)
{
    const char* file = options.operands[0].c_str();
    std::string text, error, csv;
    if (!LoadLandscapeText(file, text, error))
        return Fail(error);
    if (text.compare(0, 5, "time,") == 0) {
        csv = text;
    } else {
        char* absolute = realpath(file, nullptr);
        bool ran = absolute && RunTrack(SimulatorProgram(), absolute, csv, error);
        free(absolute);
        if (!ran && error.empty())
            return 1;
        if (!ran)
            return Fail(std::string(file) + ": " + error);
    }
    std::vector<TrackRow> rows;
    if (!ParseTrack(csv, rows, error))
        return Fail(std::string(file) + ": " + error);
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
        options.command != "map")
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
    return Info(options);
}
