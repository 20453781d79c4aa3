// The simulator's command line: one table of options read by getopt_long
// (common/command_line.h), X's own options kept for the toolkit, --help and
// --version answered before any window opens.
#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"

// The time trial's options.
struct CourseOptions {
    const char* course = nullptr; // --course FILE: fly the course's gates against the clock
    const char* ghost = nullptr;  // --ghost FILE: race this recording of the course
};

// Flying together.
struct NetOptions {
    const char* connect = nullptr; // --connect HOST[:PORT]
    const char* name = nullptr;    // --name NAME
    bool host = false;             // --host: a server in the game, joined at once
    int port = 0;                  // --port N: the hosted server's port; 0 for the default
};

// What the command line asked for. The recorder's files: at most one of them.
struct SimOptions {
    std::string record;   // --record FILE: write the flight to FILE as it goes
    std::string play;     // --play FILE: show the recording at real speed
    std::string timedemo; // --timedemo FILE: every step and a frame, as fast as can be
    std::string track;    // --track FILE: the flight as CSV, without a window
    bool fullScreen = false;
    bool mute = false;
    int volume = -1;      // 0..100; -1 when not given
    bool quiet = false;
    bool classic = false; // --classic: the cockpit panel or status line alone
    CourseOptions course; // pointing into `given`
    NetOptions net;       // likewise
    bool geometry = false;           // -geometry given: the window's size and place are its
    std::vector<char*> toolkit;      // argv for glutInit: argv[0] and X's options, null-ended
    // Every option as given, in order: a new option of the table is read
    // where it is used, with OptionValue or OptionGiven, needing no field here.
    CommandLine given;
};

// Reads argv into `options`. COMMAND_LINE_DONE after --help or --version,
// COMMAND_LINE_USAGE after one line on standard error (an unknown option, a
// missing or bad value, two recorder files, a --ghost without --course,
// --connect with --host, --name or --port without either, an argument left
// over).
CommandLineResult ReadSimOptions(int argc, char** argv, SimOptions& options);

// Puts what the options ask of the sound and the console into their globals;
// the settings file's values are there already and the options win.
void ApplySimOptions(const SimOptions& options);
