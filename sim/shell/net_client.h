// The game's side of flying together: joining a server before any window
// opens, or starting one inside the game and joining it (--host), then each
// step's state sent and every received message handed to the friends' jets.
// The only place of the game that calls ENet.
#pragma once

#include <string>
#include <vector>

#include "sim/shell/options.h"

struct NetSession {
    bool playing;             // joined, and the server still there
    int ownId;
    int slot;                 // the place on the airfield
    std::string name;
    std::vector<char> landscape; // the server's landscape file; empty when it has none
    unsigned stepCount;       // own steps since joining: the states' step numbers
    int lastExplosionFrame;   // to send a crash once, when it starts
    int hostedServer;         // the process id of the hosted server; 0 without one
};

extern NetSession netSession;

// Nobody joined: the start state.
void ResetNetState();
// Starts the hosted server when asked and joins the server. False after one
// line on standard error: refused, not answering within 5 s, or no server.
bool JoinServer(const NetOptions& options);
// Around the scene's set-up: the connection is kept alive meanwhile, and
// what came in is taken once it is over.
void KeepConnectionDuringSetup();
void EndSetupConnection();
// Puts the own jet on its place on the airfield once the scene is set up.
void PlaceOwnJet();
// After every step: every third step's state goes to the server; while the
// instant replay shows, the live jet's last one.
void NetStepDone(bool instantReplay);
// Takes whatever the server sent, without waiting; from the flight timer.
void ServiceNetwork();
// Tab shows or hides the list of players while joined; false otherwise, so
// the key does what it always did.
bool NetPlayerListKey(unsigned char key);
// Says goodbye to the server and stops a hosted one; at exit.
void LeaveServer();
