// Friends' jets in a shared sky: the states received for each, and where
// each is drawn now. A jet is shown about REMOTE_DELAY_S behind what was
// received, between two states, so that states that come unevenly still give
// a smooth flight; past the newest it is carried on at its last velocity for
// a while, then held. Nothing here draws or touches the network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/friends_file.h"
#include "common/net_messages.h"
#include "sim/math/vec_math.h"

const double REMOTE_DELAY_S = 0.1;       // behind the newest state
const double REMOTE_EXTRAPOLATE_S = 0.25; // carried on for at most this past the newest state
const double REMOTE_SILENCE_S = 5.0;     // a jet unheard this long is no longer shown
const double REMOTE_STEP_S = 0.01;       // one of the sender's steps
const int REMOTE_SAMPLES = 16;           // states kept per jet: half a second at 30 a second

struct RemoteSample {
    double senderS; // the sender's step times REMOTE_STEP_S
    NetState state;
};

struct RemoteJet {
    bool present;   // joined and not left
    char name[NET_NAME_MAX + 1];
    RemoteSample samples[REMOTE_SAMPLES]; // oldest first
    int count;
    double offsetS;     // our clock minus the sender's, the least seen: the least delayed state
    double lastHeardS;  // our clock when the newest state came
};

// Where a jet is drawn: its frame is orthonormal (normal = dir x up).
struct RemotePose {
    Body body;
    bool gearDown;
    bool exploding;
};

// The friends' jets of one sky, by the server's player id.
struct RemoteSky {
    RemoteJet jets[NET_MAX_PLAYERS];
    // A replay's sky goes by the replay's steps (times REMOTE_STEP_S), so
    // that a paused, faster or timed replay shows the jets as they were seen;
    // negative while it is not shown, and always in the live sky, which goes
    // by the wall clock.
    double replayClockS = -1.0;
};

// The sky the network feeds, and the one a replay shows from what was kept
// of it (a side file, or the last seconds for the instant replay). Kept
// apart so that live play goes on receiving while a replay shows.
extern RemoteSky liveSky;
extern RemoteSky replaySky;
extern char ownPlayerName[NET_NAME_MAX + 1]; // the name this game joined with

// No friends in either sky: the start state.
void ResetRemoteJets();
// No friends in the sky: the replay's sky goes back to not being shown.
void ClearSky(RemoteSky& sky);
void RemoteJetJoined(RemoteSky& sky, int id, const std::string& name);
// Gone at once: the jet is no longer shown.
void RemoteJetLeft(RemoteSky& sky, int id);
// A received state at the sky's clock nowS. States older than the newest are
// dropped; a jet not yet joined is taken with an empty name.
void RemoteJetState(RemoteSky& sky, const NetState& state, double nowS);
// The jet's pose at our clock's nowS; false when it is not to be shown (not
// present, nothing received yet, or silent for REMOTE_SILENCE_S).
bool RemoteJetPose(const RemoteJet& jet, double nowS, RemotePose& pose);
// The sky in view: the replay's while a replay shows one, else the live sky.
const RemoteSky& ShownSky();
// The clock to place the shown sky's jets by: the replay's, or `wallS`.
double ShownSkyNowS(double wallS);
// Kept messages into the replay's sky, which is shown from then on: those
// from `next` on that came before the replay's step `stepsDone`, each taken
// at its own step's clock, as live play took it when it came. The clock is
// set to `stepsDone`. Returns the index of the first message still to come.
size_t TakeFriendsRecordsDue(const std::vector<FriendsRecord>& records, size_t next, int64_t stepsDone);
// Whether a jet is in the list of players at nowS: present, and not silent
// for REMOTE_SILENCE_S since states came (a game lost without a word goes
// from the list when its jet goes, long before the server gives up on it).
bool RemoteJetListed(const RemoteJet& jet, double nowS);
// Jets listed at nowS.
int RemoteJetCount(const RemoteSky& sky, double nowS);
