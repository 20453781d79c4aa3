// The simulator's own command-line options, taken after the toolkit's. Each
// option group takes what is its own out of argv; whatever is left and looks
// like an option is refused at the end.
#pragma once

// The recorder's options: at most one of them, each with a file.
struct RecorderOptions {
    const char* record = nullptr;   // --record FILE: write the flight to FILE as it goes
    const char* play = nullptr;     // --play FILE: show the recording at real speed
    const char* timedemo = nullptr; // --timedemo FILE: every step and a frame, as fast as can be
    const char* track = nullptr;    // --track FILE: the flight as CSV, without a window
};

// Usage errors end the program with this status; a bad file with 1.
const int EXIT_USAGE = 2;

// Takes --record, --play, --timedemo and --track with their files out of argv.
// False after one line on standard error (a missing file name, or two of them).
bool TakeRecorderOptions(int& argc, char** argv, RecorderOptions& options);
// False after one line on standard error when an argument is left over.
bool NoArgumentsLeft(int argc, char** argv);

struct NetOptions;
// Takes --connect HOST[:PORT], --host, --name NAME and --port N out of argv.
// False after one line on standard error: a missing or bad value, --connect
// with --host, or --name or --port without either of them.
bool TakeNetOptions(int& argc, char** argv, NetOptions& options);
