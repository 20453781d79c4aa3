// The server's options, its landscape and its loop over ENet.
#include "server/server.h"

#include <enet/enet.h>
#include <enet/time.h>
#include <getopt.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/day_clock.h"
#include "common/landscape_reader.h"
#include "common/monotonic_clock.h"
#include "server/server_rules.h"

#ifndef PELORIN_VERSION
#define PELORIN_VERSION "0"
#endif

static const char* const USAGE =
    "Usage: pelorin-server [--port N] [--bind ADDRESS] [--max-players N] [--landscape FILE]\n";

static bool NumberOption(const char* text, int low, int high, int& value)
{
    char* end = nullptr;
    long v = strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high)
        return false;
    value = (int)v;
    return true;
}

int ParseServerOptions(int argc, char** argv, ServerOptions& options)
{
    static const struct option longOptions[] = {
        {"port", required_argument, nullptr, 'p'},      {"bind", required_argument, nullptr, 'b'},
        {"max-players", required_argument, nullptr, 'm'}, {"landscape", required_argument, nullptr, 'l'},
        {"help", no_argument, nullptr, 'h'},            {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0}};
    optind = 1;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, "", longOptions, nullptr)) != -1) {
        switch (c) {
        case 'p':
            if (!NumberOption(optarg, 1, 65535, options.port)) {
                fprintf(stderr, "pelorin-server: --port needs a number from 1 to 65535, not %s\n", optarg);
                return 2;
            }
            break;
        case 'b':
            options.bind = optarg;
            break;
        case 'm':
            if (!NumberOption(optarg, 1, NET_MAX_PLAYERS, options.maxPlayers)) {
                fprintf(stderr, "pelorin-server: --max-players needs a number from 1 to %d, not %s\n", NET_MAX_PLAYERS,
                        optarg);
                return 2;
            }
            break;
        case 'l':
            options.landscape = optarg;
            break;
        case 'h':
            printf("%s"
                   "Serves one sky for friends who fly together with pelorin --connect.\n"
                   "  --port N          the UDP port to listen on (default %d)\n"
                   "  --bind ADDRESS    listen on this address only (default: every address)\n"
                   "  --max-players N   players at once, 1 to %d (default %d)\n"
                   "  --landscape FILE  the landscape to fly over (default: landscape.dmf here,\n"
                   "                    else the delivered one)\n"
                   "  --help, --version\n",
                   USAGE, NET_DEFAULT_PORT, NET_MAX_PLAYERS, NET_DEFAULT_PLAYERS);
            return 1;
        case 'V':
            printf("pelorin-server %s\n", PELORIN_VERSION);
            return 1;
        default:
            if (optopt)
                fprintf(stderr, "pelorin-server: option %s needs a value\n", argv[optind - 1]);
            else
                fprintf(stderr, "pelorin-server: unknown option %s\n", argv[optind - 1]);
            fputs(USAGE, stderr);
            return 2;
        }
    }
    if (optind < argc) {
        fprintf(stderr, "pelorin-server: unexpected argument %s\n", argv[optind]);
        fputs(USAGE, stderr);
        return 2;
    }
    return 0;
}

static bool ReadWholeFile(const char* path, std::vector<char>& bytes)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    bytes.clear();
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > NET_LANDSCAPE_MAX)
            break;
    }
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

// The delivered landscape: installed beside the programs, or in the sources
// for a build that is not installed.
static std::string DeliveredLandscape()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        std::string dir(self);
        dir = dir.substr(0, dir.rfind('/'));
        std::string installed = dir + "/" PELORIN_BIN_TO_DATA "/landscape.dmf";
        if (access(installed.c_str(), R_OK) == 0)
            return installed;
    }
    std::string source = PELORIN_SOURCE_DATA "/landscape.dmf";
    return access(source.c_str(), R_OK) == 0 ? source : std::string();
}

bool LoadServerLandscape(const ServerOptions& options, std::vector<char>& bytes, std::string& from)
{
    from = options.landscape;
    if (from.empty() && access("landscape.dmf", F_OK) == 0)
        from = "landscape.dmf";
    if (from.empty())
        from = DeliveredLandscape();
    bytes.clear();
    if (from.empty())
        return true;
    if (!ReadWholeFile(from.c_str(), bytes)) {
        fprintf(stderr, "pelorin-server: cannot read %s\n", from.c_str());
        return false;
    }
    if (bytes.size() > NET_LANDSCAPE_MAX) {
        fprintf(stderr, "pelorin-server: %s is larger than the %zu bytes a landscape may have to be sent\n",
                from.c_str(), NET_LANDSCAPE_MAX);
        return false;
    }
    LandscapeGrid grid;
    if (!DecodeLandscape(bytes.data(), bytes.size(), from.c_str(), grid, nullptr) || grid.size < 1) {
        fprintf(stderr, "pelorin-server: %s is not a landscape\n", from.c_str());
        return false;
    }
    return true;
}

namespace {

enum ClientPhase { CLIENT_FREE, CLIENT_HELLO, CLIENT_PLAYING, CLIENT_GOING };

struct Client {
    ClientPhase phase = CLIENT_FREE;
    ENetPeer* peer = nullptr;
    std::string name;
    char address[64] = "";
    uint8_t id = 0;
    double connectedS = 0;
    uint32_t lastStep = 0;
    float lastX = 0, lastZ = 0;
    BadBucket bad;
    long badCount = 0;
};


// A hello that has not come in this time is a client that will not speak.
const double HELLO_WAIT_S = 5.0;
// The clock goes to every client once a second; they step it in between.
const int CLOCK_TICKS_PER_SEND = 4;

struct Server {
    ENetHost* host = nullptr;
    std::vector<Client> clients;
    int maxPlayers = 0;
    const std::vector<char>* landscape = nullptr;
    float sun = 0, moon = 0;
    long badTotal = 0;
};

void Send(ENetPeer* peer, const std::vector<uint8_t>& bytes, bool reliable)
{
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    enet_peer_send(peer, reliable ? NET_CHANNEL_RELIABLE : NET_CHANNEL_STATE, packet);
}

// One packet to every playing client but `except`.
void Broadcast(Server& s, const std::vector<uint8_t>& bytes, bool reliable, const Client* except)
{
    ENetPacket* packet = nullptr;
    for (Client& c : s.clients) {
        if (c.phase != CLIENT_PLAYING || &c == except)
            continue;
        if (!packet)
            packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
        enet_peer_send(c.peer, reliable ? NET_CHANNEL_RELIABLE : NET_CHANNEL_STATE, packet);
    }
    if (packet && packet->referenceCount == 0)
        enet_packet_destroy(packet);
}

int PlayingCount(const Server& s)
{
    int n = 0;
    for (const Client& c : s.clients)
        n += c.phase == CLIENT_PLAYING;
    return n;
}

void Refuse(Client& c, NetRefusal refusal, const std::string& reason)
{
    printf("pelorin-server: refused %s: %s\n", c.address, reason.c_str());
    Send(c.peer, EncodeRefused(refusal, reason), true);
    enet_peer_disconnect_later(c.peer, 0);
    c.phase = CLIENT_GOING;
}

void Welcome(Server& s, Client& c, const NetMessage& hello)
{
    if (hello.protocol != NET_PROTOCOL || hello.version != PELORIN_VERSION) {
        Refuse(c, REFUSED_VERSION,
               "the server runs Pelorin " PELORIN_VERSION ", the client " + hello.version.substr(0, 32));
        return;
    }
    for (Client& other : s.clients) {
        if (other.phase != CLIENT_PLAYING || other.name != hello.name)
            continue;
        double silentS = ENET_TIME_DIFFERENCE(enet_time_get(), other.peer->lastReceiveTime) / 1000.0;
        if (!NameTakenBack(other.peer->address.host, silentS, c.peer->address.host)) {
            Refuse(c, REFUSED_NAME_TAKEN, "the name " + hello.name + " is taken");
            return;
        }
        // The holder's game is gone without a word: it leaves now, as at the
        // network's timeout, rather than keep its name from its player.
        printf("pelorin-server: %s left from %s (unheard for %.0f s, and asked for again from %s)\n",
               other.name.c_str(), other.address, silentS, c.address);
        Broadcast(s, EncodeLeft(other.id), true, &other);
        other.peer->data = nullptr;
        enet_peer_reset(other.peer);
        other = Client();
    }
    if (PlayingCount(s) >= s.maxPlayers) {
        Refuse(c, REFUSED_FULL, "the server is full (" + std::to_string(s.maxPlayers) + " players)");
        return;
    }
    bool used[NET_MAX_PLAYERS] = {};
    std::vector<float> jets;
    for (const Client& other : s.clients)
        if (other.phase == CLIENT_PLAYING) {
            used[other.id] = true;
            // Where it was last heard of; one not heard yet is at its place.
            jets.push_back(other.lastX);
            jets.push_back(other.lastZ);
        }
    int id = 0;
    while (used[id])
        id++;
    int slot = FreeStartPlace(jets.data(), (int)jets.size() / 2);
    c.id = (uint8_t)id;
    c.name = hello.name;
    c.phase = CLIENT_PLAYING;
    StartPlace(slot, c.lastX, c.lastZ);
    c.lastStep = 0;
    Send(c.peer, EncodeWelcome(c.id, (uint8_t)slot, (uint8_t)s.maxPlayers, s.sun, s.moon, *s.landscape), true);
    for (const Client& other : s.clients)
        if (other.phase == CLIENT_PLAYING && &other != &c)
            Send(c.peer, EncodeJoined(other.id, other.name), true);
    Broadcast(s, EncodeJoined(c.id, c.name), true, &c);
    printf("pelorin-server: %s joined from %s (%d of %d players)\n", c.name.c_str(), c.address, PlayingCount(s),
           s.maxPlayers);
}

void Drop(Server& s, Client& c, const char* why)
{
    printf("pelorin-server: dropped %s from %s: %ld bad messages, the last %s\n",
           c.name.empty() ? "a client" : c.name.c_str(), c.address, c.badCount, why);
    Send(c.peer, EncodeGoodbye(std::string("dropped by the server: too many bad messages, the last ") + why), true);
    enet_peer_disconnect_later(c.peer, 0);
    if (c.phase == CLIENT_PLAYING)
        Broadcast(s, EncodeLeft(c.id), true, &c);
    c.phase = CLIENT_GOING;
}

void BadMessage(Server& s, Client& c, const char* why)
{
    s.badTotal++;
    c.badCount++;
    if (CountBadMessage(c.bad, MonotonicSeconds()))
        Drop(s, c, why);
}

void Receive(Server& s, Client& c, const ENetPacket* packet)
{
    if (c.phase == CLIENT_GOING)
        return;
    NetMessage m;
    NetDecodeResult result = DecodeNetMessage(packet->data, packet->dataLength, m);
    if (result != NET_OK) {
        BadMessage(s, c, NetDecodeResultName(result));
        return;
    }
    if (c.phase == CLIENT_HELLO) {
        if (m.type == NET_HELLO)
            Welcome(s, c, m);
        else
            BadMessage(s, c, "a message before the hello");
        return;
    }
    switch (m.type) {
    case NET_STATE:
        if (!TakeStateStep(c.lastStep, m.state.step)) {
            BadMessage(s, c, "a step that goes backwards");
            return;
        }
        c.lastX = m.state.pos[0];
        c.lastZ = m.state.pos[2];
        m.state.id = c.id;
        Broadcast(s, EncodeState(m.state), false, &c);
        break;
    case NET_EVENT:
        Broadcast(s, EncodeEvent(c.id, (NetEvent)m.event), true, &c);
        break;
    default:
        BadMessage(s, c, "a message a client does not send");
        break;
    }
}

// A client that quit and one that stopped answering end alike.
void Disconnected(Server& s, Client& c)
{
    if (c.phase == CLIENT_PLAYING) {
        Broadcast(s, EncodeLeft(c.id), true, &c);
        c.phase = CLIENT_FREE;
        printf("pelorin-server: %s left from %s (%d of %d players)\n", c.name.c_str(), c.address, PlayingCount(s),
               s.maxPlayers);
    }
    c = Client();
}

} // namespace

int RunServer(const ServerOptions& options, const std::vector<char>& landscape, const std::string& from,
              volatile sig_atomic_t* stop)
{
    if (enet_initialize() != 0) {
        fprintf(stderr, "pelorin-server: the network library does not start\n");
        return 1;
    }
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = (enet_uint16)options.port;
    if (!options.bind.empty() && enet_address_set_host(&address, options.bind.c_str()) != 0) {
        fprintf(stderr, "pelorin-server: cannot find the address %s\n", options.bind.c_str());
        enet_deinitialize();
        return 1;
    }
    Server s;
    s.maxPlayers = options.maxPlayers;
    s.landscape = &landscape;
    // Room beyond the players, so that a client over the limit is told why.
    size_t peers = (size_t)options.maxPlayers + 8;
    s.host = enet_host_create(&address, peers, NET_CHANNELS, 0, 0);
    if (!s.host) {
        fprintf(stderr, "pelorin-server: cannot listen on %s port %d (in use?)\n",
                options.bind.empty() ? "every address" : options.bind.c_str(), options.port);
        enet_deinitialize();
        return 1;
    }
    s.clients.resize(peers);
    printf("pelorin-server: listening on %s port %d for up to %d players, landscape %s\n",
           options.bind.empty() ? "every address" : options.bind.c_str(), options.port, options.maxPlayers,
           from.empty() ? "as generated" : from.c_str());
    double nextTickS = MonotonicSeconds() + DAY_CLOCK_PERIOD_MS / 1000.0;
    int ticks = 0;
    while (!*stop) {
        ENetEvent event;
        int got = enet_host_service(s.host, &event, 5);
        while (got > 0) {
            Client* c = event.peer ? (Client*)event.peer->data : nullptr;
            switch (event.type) {
            case ENET_EVENT_TYPE_CONNECT: {
                Client* slot = nullptr;
                for (Client& free : s.clients)
                    if (free.phase == CLIENT_FREE && !free.peer) {
                        slot = &free;
                        break;
                    }
                if (!slot) {
                    enet_peer_reset(event.peer);
                    break;
                }
                *slot = Client();
                slot->phase = CLIENT_HELLO;
                slot->peer = event.peer;
                slot->connectedS = MonotonicSeconds();
                char ip[48] = "?";
                enet_address_get_host_ip(&event.peer->address, ip, sizeof ip);
                snprintf(slot->address, sizeof slot->address, "%s:%u", ip, event.peer->address.port);
                event.peer->data = slot;
                enet_peer_timeout(event.peer, 0, NET_TIMEOUT_MIN_MS, NET_TIMEOUT_MAX_MS);
                break;
            }
            case ENET_EVENT_TYPE_RECEIVE:
                if (c)
                    Receive(s, *c, event.packet);
                enet_packet_destroy(event.packet);
                break;
            case ENET_EVENT_TYPE_DISCONNECT:
                if (c) {
                    Disconnected(s, *c);
                    event.peer->data = nullptr;
                }
                break;
            default:
                break;
            }
            got = enet_host_check_events(s.host, &event);
        }
        double now = MonotonicSeconds();
        for (Client& c : s.clients)
            if (c.phase == CLIENT_HELLO && now - c.connectedS > HELLO_WAIT_S) {
                printf("pelorin-server: refused %s: no hello within %g s\n", c.address, HELLO_WAIT_S);
                enet_peer_disconnect_later(c.peer, 0);
                c.phase = CLIENT_GOING;
            }
        while (now >= nextTickS) {
            StepDayClock(s.sun, s.moon);
            nextTickS += DAY_CLOCK_PERIOD_MS / 1000.0;
            if (++ticks % CLOCK_TICKS_PER_SEND == 0)
                Broadcast(s, EncodeClock(s.sun, s.moon), false, nullptr);
        }
    }
    int told = 0;
    for (Client& c : s.clients)
        if (c.peer && c.phase != CLIENT_FREE) {
            if (c.phase == CLIENT_PLAYING) {
                Send(c.peer, EncodeGoodbye("the server is stopping"), true);
                told++;
            }
            enet_peer_disconnect_later(c.peer, 0);
        }
    // A short wait for the farewells to be delivered and answered.
    double until = MonotonicSeconds() + 1.0;
    ENetEvent event;
    while (told > 0 && MonotonicSeconds() < until) {
        int got = enet_host_service(s.host, &event, 20);
        if (got > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
        if (got > 0 && event.type == ENET_EVENT_TYPE_DISCONNECT && --told == 0)
            break;
    }
    enet_host_flush(s.host);
    enet_host_destroy(s.host);
    enet_deinitialize();
    printf("pelorin-server: stopped, %ld bad messages dropped in all\n", s.badTotal);
    return 0;
}
