// Headless players for measuring a shared sky: each bot joins a server as a
// client of its own and flies a recorded flight (or stands still in view, for
// frame times), sending its state as the game does. Optionally the first bot
// joins through another address (a loss-and-delay relay) and measures how far
// the second bot's jet, as the game would draw it, is from where it really was.
// Loopback only: any other address is refused.
//
//   net-bot --server PORT --bots N --seconds S [--recording FILE] [--park]
//           [--observe PORT] [--rate STATES_PER_S] [--garbage]
// --garbage: the last bot sends random bytes, as a broken or hostile client.
// Prints one line of figures: the bytes each bot received a second (ENet's
// count, and with IP and UDP headers), per other bot, and in all.
#include <enet/enet.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/monotonic_clock.h"
#include "common/net_messages.h"
#include "server/server_rules.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/remote_jets.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_file.h"
#include "sim/shell/start_state.h"
#include "sim/shell/track.h"

// Each bot flies the recording this many steps after the one before it.
const uint32_t BOT_STEP_APART = 37;

// Unique to the run, so that a bot of an earlier run the server has not yet
// let go does not keep a new one out.
static std::string BotName(int i)
{
    return "b" + std::to_string(getpid() % 100000) + "-" + std::to_string(i);
}


static NetState StateOfPlane()
{
    NetState s;
    s.pos[0] = plane.pos.x, s.pos[1] = plane.pos.y, s.pos[2] = plane.pos.z;
    s.dir[0] = plane.dir.x, s.dir[1] = plane.dir.y, s.dir[2] = plane.dir.z;
    s.up[0] = plane.up.x, s.up[1] = plane.up.y, s.up[2] = plane.up.z;
    s.speed = plane.speed;
    s.thrust = plane.thrust;
    s.flags = (gearDown ? NET_FLAG_GEAR : 0) | (explosionFrame ? NET_FLAG_EXPLODING : 0);
    return s;
}

// Every step of the recording's flights, as states; the game's console lines
// go nowhere meanwhile.
static bool LoadFlight(const char* path, std::vector<NetState>& flight)
{
    Recording recording;
    if (!LoadReplayFile(path, recording))
        return false;
    fflush(stdout);
    int saved = dup(STDOUT_FILENO), null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    BuildWorldWithoutWindow();
    StartReplay(recording.flights, 0);
    flight.push_back(StateOfPlane());
    for (;;) {
        ReplayStatus result = ReplayStep();
        if (result != REPLAY_STEPPED && result != REPLAY_NEXT_FLIGHT)
            break;
        flight.push_back(StateOfPlane());
    }
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(null);
    return flight.size() > 1;
}

struct Bot {
    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;
    int id = -1, slot = 0;
    bool joined = false;
};

static bool Connect(Bot& bot, int port)
{
    ENetAddress address;
    enet_address_set_host(&address, "127.0.0.1");
    address.port = (enet_uint16)port;
    bot.host = enet_host_create(nullptr, 1, NET_CHANNELS, 0, 0);
    if (!bot.host)
        return false;
    bot.peer = enet_host_connect(bot.host, &address, NET_CHANNELS, 0);
    return bot.peer != nullptr;
}

static void Send(Bot& bot, const std::vector<uint8_t>& bytes, bool reliable)
{
    ENetPacket* p = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    enet_peer_send(bot.peer, reliable ? NET_CHANNEL_RELIABLE : NET_CHANNEL_STATE, p);
}

// Takes what came; only the observer keeps states, as the game does.
static void Service(Bot& bot, const std::string& name, bool observer)
{
    ENetEvent e;
    while (enet_host_service(bot.host, &e, 0) > 0) {
        if (e.type == ENET_EVENT_TYPE_CONNECT)
            Send(bot, EncodeHello(PELORIN_VERSION_TEXT, name), true);
        if (e.type != ENET_EVENT_TYPE_RECEIVE)
            continue;
        NetMessage m;
        if (DecodeNetMessage(e.packet->data, e.packet->dataLength, m) == NET_OK) {
            if (m.type == NET_WELCOME) {
                bot.joined = true;
                bot.id = m.id;
                bot.slot = m.slot;
            } else if (observer && m.type == NET_STATE) {
                RemoteJetState(liveSky, m.state, MonotonicSeconds());
            } else if (observer && m.type == NET_JOINED) {
                RemoteJetJoined(liveSky, m.id, m.name);
            }
        }
        enet_packet_destroy(e.packet);
    }
}

static double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    size_t k = (size_t)std::ceil(p * v.size());
    return v[k ? k - 1 : 0];
}

static double Distance(const float* a, const float* b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The sender's own state at a moment of its flight, between its steps.
static void TrueAt(const std::vector<NetState>& flight, double stepsIn, int slot, float out[3])
{
    if (stepsIn < 0)
        stepsIn = 0;
    size_t i = (size_t)stepsIn % (flight.size() - 1);
    double f = stepsIn - std::floor(stepsIn);
    for (int k = 0; k < 3; k++)
        out[k] = (float)(flight[i].pos[k] + (flight[i + 1].pos[k] - flight[i].pos[k]) * f);
    float x, z, x0, z0;
    StartPlace(slot, x, z);
    StartPlace(0, x0, z0);
    out[0] += x - x0;
    out[2] += z - z0;
}

int main(int argc, char** argv)
{
    int port = 0, bots = 2, observe = 0;
    double seconds = 10, rate = 100.0 / 3.0;
    const char* recording = nullptr;
    bool park = false;
    bool garbage = false; // the last bot sends random bytes instead of states
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--server")
            port = atoi(v), i++;
        else if (a == "--bots")
            bots = atoi(v), i++;
        else if (a == "--seconds")
            seconds = atof(v), i++;
        else if (a == "--recording")
            recording = v, i++;
        else if (a == "--observe")
            observe = atoi(v), i++;
        else if (a == "--rate")
            rate = atof(v), i++;
        else if (a == "--park")
            park = true;
        else if (a == "--garbage")
            garbage = true;
        else {
            fprintf(stderr, "usage: net-bot --server PORT --bots N --seconds S [--recording FILE] [--park] "
                            "[--observe PORT] [--rate N] [--garbage]\n");
            return 2;
        }
    }
    if (port <= 0 || bots < 1 || bots > NET_MAX_PLAYERS || seconds <= 0 || seconds > 600 || rate <= 0) {
        fprintf(stderr, "net-bot: a port, 1 to 64 bots and at most 600 s\n");
        return 2;
    }
    ResetSimulation();
    std::vector<NetState> flight;
    if (!park && (!recording || !LoadFlight(recording, flight))) {
        fprintf(stderr, "net-bot: a recording to fly is needed (or --park)\n");
        return 1;
    }
    if (enet_initialize() != 0)
        return 1;
    std::vector<Bot> crew(bots);
    for (int i = 0; i < bots; i++)
        if (!Connect(crew[i], i == 0 && observe ? observe : port)) {
            fprintf(stderr, "net-bot: cannot connect\n");
            return 1;
        }
    double until = MonotonicSeconds() + 5;
    for (bool all = false; !all && MonotonicSeconds() < until;) {
        all = true;
        for (int i = 0; i < bots; i++) {
            Service(crew[i], BotName(i), i == 0 && observe);
            all = all && crew[i].joined;
        }
        usleep(1000);
    }
    for (int i = 0; i < bots; i++)
        if (!crew[i].joined) {
            fprintf(stderr, "net-bot: %s was not let in\n", BotName(i).c_str());
            return 1;
        }
    for (Bot& b : crew) {
        b.host->totalReceivedData = b.host->totalReceivedPackets = 0;
        b.host->totalSentData = b.host->totalSentPackets = 0;
    }
    const double start = MonotonicSeconds(), period = 1.0 / rate;
    double nextSend = start, nextLook = start + 1.0;
    std::vector<double> shownErrors, liveErrors;
    int watched = bots > 1 ? crew[1].id : -1;
    while (MonotonicSeconds() - start < seconds) {
        double now = MonotonicSeconds();
        for (int i = 0; i < bots; i++)
            Service(crew[i], BotName(i), i == 0 && observe);
        if (now >= nextSend) {
            uint32_t step = (uint32_t)((now - start) / REMOTE_STEP_S) + 1;
            for (int i = 0; i < bots; i++) {
                NetState s;
                float x, z, x0, z0;
                StartPlace(crew[i].slot, x, z);
                StartPlace(0, x0, z0);
                if (park) {
                    // Standing in a fan ahead of the first place, in view of a
                    // player there: rows 2000 to 5000 units out.
                    s.pos[0] = x0 + (float)((i % 8) - 3.5) * 250.0f;
                    s.pos[1] = 300.0f + (float)(i / 8) * 150.0f;
                    s.pos[2] = z0 + 2000.0f + (float)(i / 8) * 1000.0f;
                    s.thrust = 40;
                    s.flags = NET_FLAG_GEAR;
                } else {
                    s = flight[(step + (uint32_t)i * BOT_STEP_APART) % (flight.size() - 1)];
                    s.pos[0] += x - x0;
                    s.pos[2] += z - z0;
                }
                s.step = step;
                if (garbage && i == bots - 1) {
                    std::vector<uint8_t> junk(1 + rand() % 80);
                    for (uint8_t& byte : junk)
                        byte = (uint8_t)rand();
                    if (rand() % 2)
                        junk[0] = NET_STATE; // a state of nonsense numbers
                    Send(crew[i], junk, rand() % 2);
                    continue;
                }
                Send(crew[i], EncodeState(s), false);
                enet_host_flush(crew[i].host);
            }
            nextSend += period;
        }
        if (observe && watched >= 0 && now >= nextLook) {
            RemotePose pose;
            if (RemoteJetPose(liveSky.jets[watched], now, pose)) {
                float drawn[3] = {pose.body.pos.x, pose.body.pos.y, pose.body.pos.z}, truth[3];
                // The moment the drawing stands for, and the moment itself.
                double shownStep = (now - liveSky.jets[watched].offsetS - REMOTE_DELAY_S) / REMOTE_STEP_S;
                TrueAt(flight, shownStep + BOT_STEP_APART, crew[1].slot, truth);
                shownErrors.push_back(Distance(drawn, truth));
                TrueAt(flight, (now - start) / REMOTE_STEP_S + 1 + BOT_STEP_APART, crew[1].slot, truth);
                liveErrors.push_back(Distance(drawn, truth));
            }
            nextLook += 0.005;
        }
        usleep(500);
    }
    double elapsed = MonotonicSeconds() - start, received = 0, withHeaders = 0;
    for (Bot& b : crew) {
        received += b.host->totalReceivedData;
        withHeaders += b.host->totalReceivedData + 28.0 * b.host->totalReceivedPackets;
    }
    double perBot = received / bots / elapsed, perBotHeaders = withHeaders / bots / elapsed;
    printf("bots %d rate %.1f/s: each receives %.0f B/s (%.0f with IP and UDP headers), %.0f B/s per other player; "
           "all %d receive %.0f B/s (%.0f with headers)\n",
           bots, rate, perBot, perBotHeaders, bots > 1 ? perBot / (bots - 1) : 0.0, bots, received / elapsed,
           withHeaders / elapsed);
    if (observe)
        printf("drawn-vs-true distance over %zu looks: at the moment shown median %.1f p99 %.1f; "
               "at the moment itself median %.1f p99 %.1f (world units)\n",
               shownErrors.size(), Percentile(shownErrors, 0.5), Percentile(shownErrors, 0.99),
               Percentile(liveErrors, 0.5), Percentile(liveErrors, 0.99));
    for (Bot& b : crew) {
        enet_peer_disconnect_now(b.peer, 0);
        enet_host_flush(b.host);
        enet_host_destroy(b.host);
    }
    enet_deinitialize();
    return 0;
}
