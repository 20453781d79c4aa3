// The client side of a shared sky over ENet.
#include "sim/shell/net_client.h"

#include <enet/enet.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "common/monotonic_clock.h"
#include "common/net_messages.h"
#include "server/server.h"
#include "server/server_rules.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/clock.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/remote_jets.h"
#include "sim/shell/friends_recorder.h"
#include "sim/shell/recorder.h"
#include "sim/view/view_state.h"

#ifndef PELORIN_VERSION
#define PELORIN_VERSION "0"
#endif

NetSession netSession;

static ENetHost* clientHost = nullptr;
static ENetPeer* serverPeer = nullptr;

// A join that has no answer in this time is refused.
const double JOIN_WAIT_S = 5.0;
// Steps between two states sent: about 33 a second.
const unsigned STEPS_PER_STATE = 3;

void ResetNetState()
{
    netSession = NetSession();
    ResetRemoteJets();
}


static volatile sig_atomic_t hostedStop = 0;

static void StopHosted(int)
{
    hostedStop = 1;
}

// The server runs in a process of its own, over the game's own landscape
// (landscape.dmf here, else the delivered one); it goes when the game goes.
static bool StartHostedServer(int port)
{
    ServerOptions options;
    if (port)
        options.port = port;
    std::vector<char> landscape;
    std::string from;
    if (!LoadServerLandscape(options, landscape, from))
        return false;
    fflush(stdout);
    pid_t child = fork();
    if (child < 0) {
        fprintf(stderr, "pelorin: cannot start the server\n");
        return false;
    }
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        struct sigaction action = {};
        action.sa_handler = StopHosted;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        _exit(RunServer(options, landscape, from, &hostedStop));
    }
    netSession.hostedServer = (int)child;
    return true;
}

static void Send(const std::vector<uint8_t>& bytes, bool reliable)
{
    if (!serverPeer)
        return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    enet_peer_send(serverPeer, reliable ? NET_CHANNEL_RELIABLE : NET_CHANNEL_STATE, packet);
}

static bool Refused(const std::string& why, const std::string& detail = std::string())
{
    fprintf(stderr, "pelorin: %s%s\n", why.c_str(), detail.c_str());
    LeaveServer();
    return false;
}

bool JoinServer(const NetOptions& options)
{
    std::string host = "127.0.0.1";
    int port = options.port ? options.port : NET_DEFAULT_PORT;
    if (options.connect && !SplitHostPort(options.connect, host, port)) {
        fprintf(stderr, "pelorin: --connect needs HOST or HOST:PORT, not %s\n", options.connect);
        return false;
    }
    netSession.name = PlayerNameFrom(options.name, getenv("LOGNAME") ? getenv("LOGNAME") : getenv("USER"));
    if (enet_initialize() != 0) {
        fprintf(stderr, "pelorin: the network library does not start\n");
        return false;
    }
    if (options.host && !StartHostedServer(port))
        return Refused("cannot host a game");
    ENetAddress address;
    if (enet_address_set_host(&address, host.c_str()) != 0)
        return Refused("cannot find the server ", host);
    address.port = (enet_uint16)port;
    clientHost = enet_host_create(nullptr, 1, NET_CHANNELS, 0, 0);
    if (!clientHost)
        return Refused("cannot open a network connection");
    serverPeer = enet_host_connect(clientHost, &address, NET_CHANNELS, 0);
    if (!serverPeer)
        return Refused("cannot open a network connection");
    enet_peer_timeout(serverPeer, 0, NET_TIMEOUT_MIN_MS, NET_TIMEOUT_MAX_MS);
    std::string where = host + ":" + std::to_string(port);
    double until = MonotonicSeconds() + JOIN_WAIT_S;
    bool connected = false;
    while (MonotonicSeconds() < until) {
        ENetEvent event;
        int got = enet_host_service(clientHost, &event, 20);
        if (got <= 0)
            continue;
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            connected = true;
            Send(EncodeHello(PELORIN_VERSION, netSession.name), true);
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            serverPeer = nullptr;
            return Refused("no server answers at ", where);
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            NetMessage m;
            NetDecodeResult result = DecodeNetMessage(event.packet->data, event.packet->dataLength, m);
            enet_packet_destroy(event.packet);
            if (result != NET_OK)
                return Refused("the server at " + where + " sent ", NetDecodeResultName(result));
            if (m.type == NET_REFUSED)
                return Refused("the server at " + where + " refused to let us join: ", m.reason);
            if (m.type == NET_GOODBYE)
                return Refused("the server at " + where + " said goodbye: ", m.reason);
            if (m.type == NET_WELCOME) {
                netSession.playing = true;
                netSession.ownId = m.id;
                netSession.slot = m.slot;
                netSession.landscape = std::move(m.landscape);
                snprintf(ownPlayerName, sizeof ownPlayerName, "%s", netSession.name.c_str());
                sunAngle = m.sun;
                moonAngle = m.moon;
                printf("Joined %s as %s\n", where.c_str(), netSession.name.c_str());
                return true;
            }
        }
    }
    return Refused(connected ? "the server does not answer our hello at " : "no server answers at ", where);
}

void PlaceOwnJet()
{
    if (!netSession.playing || netSession.slot == 0)
        return;
    StartPlace(netSession.slot, plane.pos.x, plane.pos.z);
}

// A restart puts the jet back on the game's start; a player who joined beside
// it goes back to the own place, where no other jet started.
static void KeepOwnStartPlace()
{
    Body start;
    ResetPlane(start);
    if (netSession.slot != 0 && plane.pos.x == start.pos.x && plane.pos.z == start.pos.z && plane.speed == 0.0f &&
        explosionFrame == 0)
        PlaceOwnJet();
}

// The last state sent from the live game: while the instant replay shows an
// earlier flight, the others keep seeing the jet where the live game left it.
static NetState lastLiveState;

void NetStepDone(bool instantReplay)
{
    if (!netSession.playing)
        return;
    netSession.stepCount++;
    if (instantReplay) {
        if (netSession.stepCount % STEPS_PER_STATE == 0 && lastLiveState.step != 0) {
            lastLiveState.step = netSession.stepCount;
            Send(EncodeState(lastLiveState), false);
            enet_host_flush(clientHost);
        }
        return;
    }
    KeepOwnStartPlace();
    if (explosionFrame != 0 && netSession.lastExplosionFrame == 0)
        Send(EncodeEvent(0, NET_EVENT_CRASH), true);
    if (explosionFrame == 0 && netSession.lastExplosionFrame != 0)
        Send(EncodeEvent(0, NET_EVENT_RESTART), true);
    netSession.lastExplosionFrame = explosionFrame;
    if (netSession.stepCount % STEPS_PER_STATE != 0)
        return;
    NetState s;
    s.step = netSession.stepCount;
    s.pos[0] = plane.pos.x, s.pos[1] = plane.pos.y, s.pos[2] = plane.pos.z;
    s.dir[0] = plane.dir.x, s.dir[1] = plane.dir.y, s.dir[2] = plane.dir.z;
    s.up[0] = plane.up.x, s.up[1] = plane.up.y, s.up[2] = plane.up.z;
    s.speed = plane.speed;
    s.thrust = plane.thrust;
    s.flags = (gearDown ? NET_FLAG_GEAR : 0) | (explosionFrame != 0 ? NET_FLAG_EXPLODING : 0);
    lastLiveState = s;
    Send(EncodeState(s), false);
    enet_host_flush(clientHost);
}

static void ServerGone(const char* line)
{
    printf("%s\n", line);
    netSession.playing = false;
    ClearSky(liveSky);
    playerListOn = 0;
}

// What a replay of this game's recording shows of the other jets.
static bool AboutAnother(const NetMessage& m)
{
    switch (m.type) {
    case NET_STATE: return m.state.id != netSession.ownId;
    case NET_JOINED:
    case NET_LEFT:
    case NET_EVENT: return m.id != netSession.ownId;
    default: return false;
    }
}

static void Take(const NetMessage& m, double now)
{
    if (AboutAnother(m))
        RecordFriendMessage(m, RecordedSteps());
    switch (m.type) {
    case NET_STATE:
        if (m.state.id != netSession.ownId)
            RemoteJetState(liveSky, m.state, now);
        break;
    case NET_JOINED:
        if (m.id != netSession.ownId) {
            RemoteJetJoined(liveSky, m.id, m.name);
            printf("%s joined\n", m.name.c_str());
        }
        break;
    case NET_LEFT:
        if (m.id != netSession.ownId && liveSky.jets[m.id].present) {
            printf("%s left\n", liveSky.jets[m.id].name);
            RemoteJetLeft(liveSky, m.id);
        }
        break;
    case NET_EVENT:
        if (m.event == NET_EVENT_CRASH && liveSky.jets[m.id].present)
            printf("%s crashed\n", liveSky.jets[m.id].name);
        break;
    case NET_CLOCK:
        sunAngle = m.sun;
        moonAngle = m.moon;
        break;
    case NET_GOODBYE:
        printf("The server said goodbye: %s\n", m.reason.c_str());
        ServerGone("Flying on alone");
        break;
    default:
        break;
    }
}

static void HandleEvent(ENetEvent& event, double now)
{
    if (event.type == ENET_EVENT_TYPE_RECEIVE) {
        NetMessage m;
        if (DecodeNetMessage(event.packet->data, event.packet->dataLength, m) == NET_OK)
            Take(m, now);
        enet_packet_destroy(event.packet);
    } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
        serverPeer = nullptr;
        if (netSession.playing)
            ServerGone("The server is gone; flying on alone");
    }
}

void ServiceNetwork()
{
    if (!clientHost || !netSession.playing)
        return;
    ENetEvent event;
    double now = MonotonicSeconds();
    while (clientHost && netSession.playing && enet_host_service(clientHost, &event, 0) > 0)
        HandleEvent(event, now);
}

// Set-up takes seconds on a slow machine: meanwhile a thread of its own keeps
// answering the server, so that it does not take the silence for a lost
// player, and keeps what came for the main thread, which alone acts on it.
static std::thread setupKeeper;
static std::atomic<bool> setupOver;
static std::vector<ENetEvent> heldEvents;

void KeepConnectionDuringSetup()
{
    if (!clientHost || !netSession.playing)
        return;
    setupOver = false;
    setupKeeper = std::thread([] {
        ENetEvent event;
        while (!setupOver)
            if (enet_host_service(clientHost, &event, 20) > 0)
                heldEvents.push_back(event);
    });
}

void EndSetupConnection()
{
    if (!setupKeeper.joinable())
        return;
    setupOver = true;
    setupKeeper.join();
    double now = MonotonicSeconds();
    for (ENetEvent& event : heldEvents)
        HandleEvent(event, now);
    heldEvents.clear();
}

bool NetPlayerListKey(unsigned char key)
{
    if (key != '\t' || !netSession.playing)
        return false;
    playerListOn = !playerListOn;
    return true;
}

void LeaveServer()
{
    if (serverPeer) {
        enet_peer_disconnect_now(serverPeer, 0);
        serverPeer = nullptr;
    }
    if (clientHost) {
        enet_host_flush(clientHost);
        enet_host_destroy(clientHost);
        clientHost = nullptr;
        enet_deinitialize();
    }
    netSession.playing = false;
    if (netSession.hostedServer > 0) {
        kill(netSession.hostedServer, SIGTERM);
        waitpid(netSession.hostedServer, nullptr, 0);
        netSession.hostedServer = 0;
    }
}
