// Every program's command line through getopt_long, its --help and --version,
// and X's own options kept apart for the toolkit.
#include "common/command_line.h"

#include <cstdio>
#include <cstring>
#include <getopt.h>

static const OptionRow HELP_ROW = {"help", 'h', nullptr, "show this help and exit"};
static const OptionRow VERSION_ROW = {"version", 0, nullptr, "show the name and version and exit"};

// getopt_long's code for a row without a letter: above every char.
static const int LONG_ONLY_BASE = 256;

static std::string OptionLabel(const OptionRow& row)
{
    std::string label = row.letter ? std::string("-") + row.letter + ", " : "    ";
    label += std::string("--") + row.name;
    if (row.value)
        label += std::string(" ") + row.value;
    return label;
}

std::string HelpText(const char* usage, const OptionRow* rows, int count, const char* tail)
{
    std::vector<const OptionRow*> all;
    for (int i = 0; i < count; i++)
        all.push_back(&rows[i]);
    all.push_back(&HELP_ROW);
    all.push_back(&VERSION_ROW);
    size_t width = 0;
    for (const OptionRow* row : all)
        width = std::max(width, OptionLabel(*row).size());
    std::string text = usage;
    text += "\nOptions:\n";
    for (const OptionRow* row : all) {
        std::string label = OptionLabel(*row);
        text += "  " + label + std::string(width + 2 - label.size(), ' ') + row->help + "\n";
    }
    if (tail && *tail)
        text += std::string("\n") + tail;
    return text;
}

void UsageLine(const char* program, const std::string& reason)
{
    fprintf(stderr, "%s: %s (see %s --help)\n", program, reason.c_str(), program);
}

// The row an argument such as "--mute=1" names, when it names a flag.
static const OptionRow* FlagGivenAValue(const char* arg, const OptionRow* rows, int count)
{
    const char* equals = strchr(arg, '=');
    if (strncmp(arg, "--", 2) != 0 || !equals)
        return nullptr;
    std::string name(arg + 2, equals);
    for (int i = 0; i < count; i++)
        if (!rows[i].value && name == rows[i].name)
            return &rows[i];
    return nullptr;
}

CommandLineResult ReadCommandLine(int argc, char** argv, const char* program, const char* version,
                                  const char* usage, const OptionRow* rows, int count, const char* tail,
                                  int maxOperands, CommandLine& line)
{
    std::vector<OptionRow> all(rows, rows + count);
    all.push_back(HELP_ROW);
    all.push_back(VERSION_ROW);
    std::vector<option> longs;
    std::string shorts = ":";  // a missing value answers ':', not '?'
    for (size_t i = 0; i < all.size(); i++) {
        int code = all[i].letter ? all[i].letter : LONG_ONLY_BASE + (int)i;
        longs.push_back({all[i].name, all[i].value ? required_argument : no_argument, nullptr, code});
        if (all[i].letter) {
            shorts += all[i].letter;
            if (all[i].value)
                shorts += ':';
        }
    }
    longs.push_back({nullptr, 0, nullptr, 0});

    // getopt keeps its place in globals: start afresh, and say nothing of its own.
    optind = 0;
    opterr = 0;
    for (;;) {
        int code = getopt_long(argc, argv, shorts.c_str(), longs.data(), nullptr);
        if (code == -1)
            break;
        const char* given = argv[optind - 1];
        if (code == '?') {
            const OptionRow* flag = FlagGivenAValue(given, all.data(), (int)all.size());
            if (flag)
                UsageLine(program, std::string("--") + flag->name + " takes no value");
            else if (optopt && strncmp(given, "--", 2) != 0)
                UsageLine(program, std::string("unknown option -") + (char)optopt);
            else
                UsageLine(program, std::string("unknown option ") + given);
            return COMMAND_LINE_USAGE;
        }
        const OptionRow* row = nullptr;
        for (size_t i = 0; i < all.size() && !row; i++) {
            int rowCode = all[i].letter ? all[i].letter : LONG_ONLY_BASE + (int)i;
            if (rowCode == (code == ':' ? optopt : code))
                row = &all[i];
        }
        if (!row) {
            UsageLine(program, std::string("unknown option ") + given);
            return COMMAND_LINE_USAGE;
        }
        if (code == ':' || (row->value && (!optarg || !*optarg))) {
            bool file = strcmp(row->value, "FILE") == 0;
            std::string named = strncmp(given, "--", 2) == 0 || !row->letter ? std::string("--") + row->name
                                                                               : std::string("-") + row->letter;
            UsageLine(program, named + (file ? " needs a file name" : " needs a value"));
            return COMMAND_LINE_USAGE;
        }
        if (row == &all[count]) {
            fputs(HelpText(usage, rows, count, tail).c_str(), stdout);
            return COMMAND_LINE_DONE;
        }
        if (row == &all[count + 1]) {
            printf("%s %s\n", program, version);
            return COMMAND_LINE_DONE;
        }
        line.options.push_back({row->name, row->value ? optarg : ""});
    }
    for (int i = optind; i < argc; i++)
        line.operands.push_back(argv[i]);
    if ((int)line.operands.size() > maxOperands) {
        const std::string& extra = line.operands[maxOperands];
        UsageLine(program, std::string("unexpected argument ") + extra);
        return COMMAND_LINE_USAGE;
    }
    return COMMAND_LINE_RUN;
}

const std::string* OptionValue(const CommandLine& line, const char* name)
{
    const std::string* value = nullptr;
    for (const OptionUse& use : line.options)
        if (strcmp(use.name, name) == 0)
            value = &use.value;
    return value;
}

bool OptionGiven(const CommandLine& line, const char* name)
{
    return OptionValue(line, name) != nullptr;
}

// The options freeglut's glutInit reads, and whether each takes a value.
static const struct {
    const char* name;
    bool value;
} TOOLKIT_OPTIONS[] = {
    {"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
    {"-iconic", false}, {"-gldebug", false}, {"-sync", false},
};

bool SplitToolkitOptions(int argc, char** argv, std::vector<char*>& toolkit, std::vector<char*>& rest)
{
    bool geometry = false;
    toolkit.assign(1, argv[0]);
    rest.assign(1, argv[0]);
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--") == 0) {
            rest.insert(rest.end(), argv + i, argv + argc);
            break;
        }
        bool taken = false;
        for (const auto& option : TOOLKIT_OPTIONS) {
            if (strcmp(argv[i], option.name) != 0)
                continue;
            taken = true;
            geometry = geometry || strcmp(option.name, "-geometry") == 0;
            toolkit.push_back(argv[i]);
            if (option.value && i + 1 < argc)
                toolkit.push_back(argv[++i]);
        }
        if (!taken)
            rest.push_back(argv[i]);
    }
    toolkit.push_back(nullptr);
    rest.push_back(nullptr);
    return geometry;
}
