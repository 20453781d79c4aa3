// Entry of pelorin-server: options, the landscape, then serving until a
// signal asks it to stop.
#include <csignal>
#include <cstdio>

#include "server/server.h"

static volatile sig_atomic_t stopRequested = 0;

static void RequestStop(int)
{
    stopRequested = 1;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    ServerOptions options;
    int parsed = ParseServerOptions(argc, argv, options);
    if (parsed == 1)
        return 0;
    if (parsed != 0)
        return 2;
    std::vector<char> landscape;
    std::string from;
    if (!LoadServerLandscape(options, landscape, from))
        return 1;
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return RunServer(options, landscape, from, &stopRequested);
}
