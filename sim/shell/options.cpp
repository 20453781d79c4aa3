// Parsing the simulator's own options.
#include "sim/shell/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/shell/net_client.h"

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

bool TakeNetOptions(int& argc, char** argv, NetOptions& options)
{
    const char* port = nullptr;
    bool named = false;
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        const char** value = strcmp(arg, "--connect") == 0 ? &options.connect
                             : strcmp(arg, "--name") == 0  ? &options.name
                             : strcmp(arg, "--port") == 0  ? &port
                                                           : nullptr;
        if (strcmp(arg, "--host") == 0) {
            options.host = true;
            continue;
        }
        if (!value) {
            argv[kept++] = argv[i];
            continue;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            fprintf(stderr, "pelorin: %s needs a value\n", arg);
            return false;
        }
        named = named || value == &options.name;
        *value = argv[++i];
    }
    argc = kept;
    argv[argc] = nullptr;
    if (options.connect && options.host) {
        fprintf(stderr, "pelorin: --connect and --host cannot be given together\n");
        return false;
    }
    if ((named || port) && !options.connect && !options.host) {
        fprintf(stderr, "pelorin: %s needs --connect or --host\n", named ? "--name" : "--port");
        return false;
    }
    if (port) {
        char* end = nullptr;
        long p = strtol(port, &end, 10);
        if (*end || p < 1 || p > 65535) {
            fprintf(stderr, "pelorin: --port needs a number from 1 to 65535, not %s\n", port);
            return false;
        }
        options.port = (int)p;
    }
    return true;
}
