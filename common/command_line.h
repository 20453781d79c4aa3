// The command line of every program, read the way users expect of a Linux
// program: getopt_long over a table of options, --opt=value and --opt value
// alike, --help and --version answered before any window, X's own options
// (-geometry, -display ...) set aside for the toolkit.
#pragma once

#include <string>
#include <vector>

// One option: its long name (without "--"), an optional one-letter short
// name, the name of its value in the help (null for a flag) and its line of
// help. Adding an option is one row of a program's table.
struct OptionRow {
    const char* name;
    char letter;        // 0 when it has no short form
    const char* value;  // "FILE", "N", ...; null for a flag
    const char* help;
};

// What the command line asked for: each option given, in order, with its
// value ("" for a flag), and the operands left.
struct OptionUse {
    const char* name;
    std::string value;
};
struct CommandLine {
    std::vector<OptionUse> options;
    std::vector<std::string> operands;
};

// How reading a command line ended.
enum CommandLineResult {
    COMMAND_LINE_RUN,   // go on with what it holds
    COMMAND_LINE_DONE,  // --help or --version answered: end with status 0
    COMMAND_LINE_USAGE, // one line on standard error naming --help: end with status 2
};

// Usage errors end a program with this status, as other tools do.
const int EXIT_USAGE = 2;

// The text --help prints: `usage` (the lines of the synopsis), a line per
// option of `rows` and of the always present --help and --version, then
// `tail` (where the keys and the manual page are).
std::string HelpText(const char* usage, const OptionRow* rows, int count, const char* tail);

// Reads argv[1..argc) against `rows` with getopt_long. --help and -h print
// HelpText to standard output, --version prints "PROGRAM VERSION"; both
// return COMMAND_LINE_DONE. An unknown option, a missing value or an operand
// where `maxOperands` allows none prints one line on standard error naming
// `program --help` and returns COMMAND_LINE_USAGE. Reads no display and
// changes nothing but `line`; argv's order may be changed.
CommandLineResult ReadCommandLine(int argc, char** argv, const char* program, const char* version,
                                  const char* usage, const OptionRow* rows, int count, const char* tail,
                                  int maxOperands, CommandLine& line);

// The last value given to option `name`, or null when it was not given.
const std::string* OptionValue(const CommandLine& line, const char* name);
// Whether option `name` was given.
bool OptionGiven(const CommandLine& line, const char* name);

// The X toolkit's own options, which its glutInit reads, in `toolkit` with
// their values, every other argument in `rest`, each behind argv[0] and
// ended by a null (so size() - 1 is its argc): getopt never sees a
// "-geometry". True when -geometry was among them.
bool SplitToolkitOptions(int argc, char** argv, std::vector<char*>& toolkit, std::vector<char*>& rest);

// One line on standard error for a usage error of `program`, naming its --help.
void UsageLine(const char* program, const std::string& reason);
