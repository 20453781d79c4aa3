// The simulator's option table and what its options do at the start.
#include "sim/shell/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "sim/shell/sound_feed.h"
#include "sim/view/view_state.h"

static const char USAGE[] = "usage: pelorin [OPTION]... [X toolkit options such as -geometry WxH+X+Y]\n"
                            "Fly a twin-engined jet over a mountain landscape.\n";
static const char TAIL[] = "The keys are listed in the manual page (man 6 pelorin) and the README.\n"
                           "Settings are kept in $XDG_CONFIG_HOME/pelorin/pelorin.conf (~/.config/pelorin/).\n";

// One row, its help line in it, per option; what each does is in
// ReadSimOptions and ApplySimOptions, or read where it is used from
// SimOptions::given.
static const OptionRow SIM_OPTIONS[] = {
    {"fullscreen", 0, nullptr, "start with the window filling the screen"},
    {"mute", 0, nullptr, "start with the sound off (F9 turns it on)"},
    {"volume", 0, "N", "sound volume, a whole number from 0 to 100"},
    {"quiet", 'q', nullptr, "print only errors and what is asked for (P, screenshots, the recorder)"},
    {"record", 0, "FILE", "write the flight to FILE as it goes"},
    {"play", 0, "FILE", "play the recording FILE at real speed"},
    {"timedemo", 0, "FILE", "replay FILE as fast as it draws and print the frame times"},
    {"track", 0, "FILE", "print the flight of recording FILE as CSV, without a window"},
    {"classic", 0, nullptr, "the cockpit panel or status line alone, without instruments (H switches)"},
    {"course", 0, "FILE", "fly the gates of the course FILE against the clock"},
    {"ghost", 0, "FILE", "race the recording FILE of the course as a ghost (with --course)"},
    {"connect", 0, "HOST[:PORT]", "fly in the shared sky of the server at HOST"},
    {"host", 0, nullptr, "start a server of the shared sky in the game and fly in it"},
    {"name", 0, "NAME", "the name the other players see (with --connect or --host)"},
    {"port", 0, "N", "the port of the server --host starts (default 28217)"},
};
static const int SIM_OPTION_COUNT = sizeof SIM_OPTIONS / sizeof SIM_OPTIONS[0];

// The whole text a whole number from 0 to 100.
static bool ParseVolume(const std::string& text, int& volume)
{
    if (text.empty() || !(text[0] >= '0' && text[0] <= '9'))
        return false;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v > SOUND_VOLUME_MAX)
        return false;
    volume = (int)v;
    return true;
}

CommandLineResult ReadSimOptions(int argc, char** argv, SimOptions& options)
{
    std::vector<char*> rest;
    options.geometry = SplitToolkitOptions(argc, argv, options.toolkit, rest);
    CommandLine& line = options.given;
    CommandLineResult result = ReadCommandLine((int)rest.size() - 1, rest.data(), "pelorin", PELORIN_VERSION,
                                               USAGE, SIM_OPTIONS, SIM_OPTION_COUNT, TAIL, 0, line);
    if (result != COMMAND_LINE_RUN)
        return result;
    const char* recorderOption = nullptr;
    for (const OptionUse& use : line.options) {
        std::string name = use.name;
        std::string* file = name == "record" ? &options.record
                            : name == "play" ? &options.play
                            : name == "timedemo" ? &options.timedemo
                            : name == "track" ? &options.track
                                              : nullptr;
        if (file) {
            if (recorderOption) {
                fprintf(stderr, "pelorin: --%s and --%s cannot be given together\n", recorderOption, use.name);
                return COMMAND_LINE_USAGE;
            }
            recorderOption = use.name;
            *file = use.value;
        } else if (name == "fullscreen") {
            options.fullScreen = true;
        } else if (name == "mute") {
            options.mute = true;
        } else if (name == "quiet") {
            options.quiet = true;
        } else if (name == "classic") {
            options.classic = true;
        } else if (name == "course") {
            options.course.course = use.value.c_str();
        } else if (name == "ghost") {
            options.course.ghost = use.value.c_str();
        } else if (name == "connect") {
            options.net.connect = use.value.c_str();
        } else if (name == "host") {
            options.net.host = true;
        } else if (name == "name") {
            options.net.name = use.value.c_str();
        } else if (name == "port") {
            char* end = nullptr;
            errno = 0;
            long p = strtol(use.value.c_str(), &end, 10);
            if (use.value.empty() || errno != 0 || *end || p < 1 || p > 65535) {
                fprintf(stderr, "pelorin: --port needs a number from 1 to 65535, not \"%s\"\n", use.value.c_str());
                return COMMAND_LINE_USAGE;
            }
            options.net.port = (int)p;
        } else if (name == "volume" && !ParseVolume(use.value, options.volume)) {
            fprintf(stderr, "pelorin: --volume takes a whole number from 0 to 100, not \"%s\"\n", use.value.c_str());
            return COMMAND_LINE_USAGE;
        }
    }
    const NetOptions& net = options.net;
    if (net.connect && net.host) {
        fprintf(stderr, "pelorin: --connect and --host cannot be given together\n");
        return COMMAND_LINE_USAGE;
    }
    if ((net.name || net.port) && !net.connect && !net.host) {
        fprintf(stderr, "pelorin: %s needs --connect or --host\n", net.name ? "--name" : "--port");
        return COMMAND_LINE_USAGE;
    }
    if (options.course.ghost && !options.course.course) {
        fprintf(stderr, "pelorin: --ghost needs --course\n");
        return COMMAND_LINE_USAGE;
    }
    return COMMAND_LINE_RUN;
}

void ApplySimOptions(const SimOptions& options)
{
    if (options.mute)
        soundOn = 0;
    if (options.volume >= 0)
        soundVolume = options.volume;
    if (options.quiet)
        quietConsole = 1;
    if (options.classic)
        classicDisplay = 1;
}
