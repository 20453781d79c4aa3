// The dedicated server of a shared sky: it holds the landscape and the day
// clock, lets players join and leave, and relays each player's checked state
// to all the others. No window and no GL: it runs on any Linux machine, and
// inside the game for `pelorin --host`.
#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "common/net_messages.h"

struct ServerOptions {
    int port = NET_DEFAULT_PORT;
    std::string bind;      // an address to listen on; empty for every one
    int maxPlayers = NET_DEFAULT_PLAYERS;
    std::string landscape; // a file to serve; empty to look for one
};

// Takes the server's options out of argv with getopt_long. Returns 0 to run,
// 1 after printing the help or the version (exit 0), 2 after a usage line on
// standard error (exit 2).
int ParseServerOptions(int argc, char** argv, ServerOptions& options);

// The landscape file the server hands out: the one given, else landscape.dmf
// in the working folder, else the delivered one; none at all leaves the bytes
// empty and every client's tile 0 as generated. False, with one line on
// standard error, when a file is there but cannot be read as a landscape.
bool LoadServerLandscape(const ServerOptions& options, std::vector<char>& bytes, std::string& from);

// Serves until *stop is set (by a signal), then tells every client it is
// going. Returns the program's exit status: 0, or 1 when it cannot listen.
int RunServer(const ServerOptions& options, const std::vector<char>& landscape, const std::string& from,
              volatile sig_atomic_t* stop);
