// Parsing the simulator's own options.
#include "sim/shell/options.h"

#include <cstdio>
#include <cstring>

bool TakeRecorderOptions(int& argc, char** argv, RecorderOptions& options)
{
    struct Slot {
        const char* name;
        const char** value;
    } slots[] = {
        {"--record", &options.record},
        {"--play", &options.play},
        {"--timedemo", &options.timedemo},
        {"--track", &options.track},
    };
    const char* taken = nullptr;
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        Slot* slot = nullptr;
        for (Slot& s : slots)
            if (strcmp(argv[i], s.name) == 0)
                slot = &s;
        if (!slot) {
            argv[kept++] = argv[i];
            continue;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            fprintf(stderr, "pelorin: %s needs a file name\n", slot->name);
            return false;
        }
        if (taken) {
            fprintf(stderr, "pelorin: %s and %s cannot be given together\n", taken, slot->name);
            return false;
        }
        taken = slot->name;
        *slot->value = argv[++i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return true;
}

bool TakeCourseOptions(int& argc, char** argv, CourseOptions& options)
{
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        const char** value = strcmp(argv[i], "--course") == 0 ? &options.course
                             : strcmp(argv[i], "--ghost") == 0 ? &options.ghost
                                                               : nullptr;
        if (!value) {
            argv[kept++] = argv[i];
            continue;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            fprintf(stderr, "pelorin: %s needs a file name\n", argv[i]);
            return false;
        }
        *value = argv[++i];
    }
    argc = kept;
    argv[argc] = nullptr;
    if (options.ghost && !options.course) {
        fprintf(stderr, "pelorin: --ghost needs --course\n");
        return false;
    }
    return true;
}

bool NoArgumentsLeft(int argc, char** argv)
{
    if (argc <= 1)
        return true;
    if (argv[1][0] == '-')
        fprintf(stderr, "pelorin: unknown option %s\n", argv[1]);
    else
        fprintf(stderr, "pelorin: unexpected argument %s\n", argv[1]);
    return false;
}
