// Flying together without a network: the messages' decoder and its every
// refusal, the server's start places and patience, the address option, and
// how a friend's jet is placed between and past the states received.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/friends_file.h"
#include "common/net_messages.h"
#include "server/server_rules.h"
#include "sim/flight/remote_jets.h"
#include "sim/shell/friends_recorder.h"

static NetState LevelState(uint32_t step = 10)
{
    NetState s;
    s.id = 3;
    s.step = step;
    s.pos[0] = 3075, s.pos[1] = 30, s.pos[2] = -9470;
    s.speed = 12;
    s.thrust = 30;
    s.flags = NET_FLAG_GEAR;
    return s;
}

static NetDecodeResult Decode(const std::vector<uint8_t>& bytes, NetMessage& m)
{
    return DecodeNetMessage(bytes.data(), bytes.size(), m);
}

TEST(NetMessages, EveryMessageComesBackAsItWasSent)
{
    std::vector<char> landscape = {'3', ' ', '1', '0', '0', '\n'};
    struct Case {
        std::vector<uint8_t> bytes;
        NetType type;
    } cases[] = {
        {EncodeHello("0.1.0", "Ann Pilot"), NET_HELLO},
        {EncodeWelcome(5, 7, 16, 12.5f, 200.0f, landscape), NET_WELCOME},
        {EncodeRefused(REFUSED_FULL, "the server is full"), NET_REFUSED},
        {EncodeState(LevelState()), NET_STATE},
        {EncodeJoined(9, "Bo"), NET_JOINED},
        {EncodeLeft(9), NET_LEFT},
        {EncodeEvent(9, NET_EVENT_CRASH), NET_EVENT},
        {EncodeClock(359.5f, 0.0f), NET_CLOCK},
        {EncodeGoodbye("the server is stopping"), NET_GOODBYE},
    };
    for (const Case& c : cases) {
        NetMessage m;
        ASSERT_EQ(Decode(c.bytes, m), NET_OK) << (int)c.type;
        EXPECT_EQ(m.type, c.type);
    }
    NetMessage m;
    ASSERT_EQ(Decode(EncodeWelcome(5, 7, 16, 12.5f, 200.0f, landscape), m), NET_OK);
    EXPECT_EQ(m.id, 5);
    EXPECT_EQ(m.slot, 7);
    EXPECT_EQ(m.landscape, landscape);
    EXPECT_FLOAT_EQ(m.moon, 200.0f);
    ASSERT_EQ(Decode(EncodeState(LevelState(77)), m), NET_OK);
    EXPECT_EQ(m.state.step, 77u);
    EXPECT_EQ(m.state.id, 3);
    EXPECT_FLOAT_EQ(m.state.pos[2], -9470.0f);
    EXPECT_EQ(m.state.flags, NET_FLAG_GEAR);
    ASSERT_EQ(Decode(EncodeHello("0.1.0", "Ann Pilot"), m), NET_OK);
    EXPECT_EQ(m.name, "Ann Pilot");
    EXPECT_EQ(m.protocol, NET_PROTOCOL);
}

TEST(NetMessages, EveryFieldThatCannotBeRightIsRefused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto state = [](void (*change)(NetState&)) {
        NetState s = LevelState();
        change(s);
        return EncodeState(s);
    };
    std::vector<uint8_t> welcome = EncodeWelcome(1, 0, 16, 0, 0, {'7'});
    std::vector<uint8_t> badDigest = welcome;
    badDigest.back() = '8';
    std::vector<uint8_t> longer = EncodeState(LevelState());
    longer.push_back(0);
    std::vector<uint8_t> shorter = EncodeState(LevelState());
    shorter.pop_back();
    std::vector<uint8_t> hugeLandscape = EncodeWelcome(1, 0, 16, 0, 0, {});
    hugeLandscape[hugeLandscape.size() - 1] = 0x7f; // length field's top byte: 2 GB
    std::vector<uint8_t> nameWithTab = EncodeHello("0.1.0", "a\tb");
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        NetDecodeResult expected;
    } cases[] = {
        {"nothing", {}, NET_BAD_EMPTY},
        {"type 0", {0}, NET_BAD_TYPE},
        {"a type past the last", {NET_TYPE_END, 1, 2}, NET_BAD_TYPE},
        {"type 255", {255}, NET_BAD_TYPE},
        {"a state a byte short", shorter, NET_BAD_SIZE},
        {"a state a byte long", longer, NET_BAD_SIZE},
        {"a left without its id", {NET_LEFT}, NET_BAD_SIZE},
        {"a landscape longer than the message", hugeLandscape, NET_BAD_SIZE},
        {"a text longer than the message", {NET_GOODBYE, 40, 'a'}, NET_BAD_SIZE},
        {"a position that is not a number", state([](NetState& s) { s.pos[1] = NAN; }), NET_BAD_NUMBER},
        {"an infinite speed", state([](NetState& s) { s.speed = INFINITY; }), NET_BAD_NUMBER},
        {"a frame that is not a number", state([](NetState& s) { s.up[0] = NAN; }), NET_BAD_NUMBER},
        {"a position far outside the world", state([](NetState& s) { s.pos[0] = 2e7f; }), NET_BAD_RANGE},
        {"a speed no jet flies", state([](NetState& s) { s.speed = -2e5f; }), NET_BAD_RANGE},
        {"thrust above 100", state([](NetState& s) { s.thrust = 100.5f; }), NET_BAD_RANGE},
        {"thrust below 0", state([](NetState& s) { s.thrust = -1; }), NET_BAD_RANGE},
        {"a player id past the last", state([](NetState& s) { s.id = NET_MAX_PLAYERS; }), NET_BAD_RANGE},
        {"a direction of length 2", state([](NetState& s) { s.dir[2] = 2; }), NET_BAD_FRAME},
        {"a zero up", state([](NetState& s) { s.up[1] = 0; }), NET_BAD_FRAME},
        {"up not square to the direction",
         state([](NetState& s) { s.up[1] = 0.7071f, s.up[2] = 0.7071f; }), NET_BAD_FRAME},
        {"unknown flags", state([](NetState& s) { s.flags = 4; }), NET_BAD_FLAGS},
        {"an empty name", EncodeHello("0.1.0", ""), NET_BAD_TEXT},
        {"a name of 17", EncodeHello("0.1.0", "abcdefghijklmnopq"), NET_BAD_TEXT},
        {"a name with a tab", nameWithTab, NET_BAD_TEXT},
        {"an empty version", EncodeHello("", "Ann"), NET_BAD_TEXT},
        {"a joined with a bad name", EncodeJoined(2, "\x01"), NET_BAD_TEXT},
        {"an empty goodbye", EncodeGoodbye(""), NET_BAD_TEXT},
        {"an unknown refusal", EncodeRefused((NetRefusal)9, "why"), NET_BAD_RANGE},
        {"an unknown event", EncodeEvent(2, (NetEvent)3), NET_BAD_RANGE},
        {"a left of id 64", EncodeLeft(64), NET_BAD_RANGE},
        {"a sun at 360", EncodeClock(360, 0), NET_BAD_RANGE},
        {"a moon below 0", EncodeClock(0, -0.5f), NET_BAD_RANGE},
        {"a clock that is not a number", EncodeClock(nan, 0), NET_BAD_NUMBER},
        {"a welcome for 65 players", EncodeWelcome(1, 0, 65, 0, 0, {}), NET_BAD_RANGE},
        {"a welcome to place 64", EncodeWelcome(1, 64, 16, 0, 0, {}), NET_BAD_RANGE},
        {"a landscape that is not what its digest says", badDigest, NET_BAD_DIGEST},
    };
    for (const Case& c : cases) {
        NetMessage m;
        m.name = "untouched";
        EXPECT_EQ(Decode(c.bytes, m), c.expected) << c.what;
        EXPECT_EQ(m.name, "untouched") << c.what << ": a refused message changed the output";
    }
}

TEST(NetMessages, HostAndPortAndTheNameAPlayerGoesBy)
{
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    } cases[] = {
        {"localhost", true, "localhost", NET_DEFAULT_PORT},
        {"127.0.0.1:4000", true, "127.0.0.1", 4000},
        {"[::1]:65535", true, "::1", 65535},
        {"[::1]", true, "::1", NET_DEFAULT_PORT},
        {"::1", true, "::1", NET_DEFAULT_PORT},
        {"", false, "", 0},
        {":4000", false, "", 0},
        {"host:", false, "", 0},
        {"host:0", false, "", 0},
        {"host:65536", false, "", 0},
        {"host:12a", false, "", 0},
        {"[::1", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host;
        int port = 0;
        ASSERT_EQ(SplitHostPort(c.text, host, port), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        }
    }
    EXPECT_EQ(PlayerNameFrom("a very long name indeed", "login"), "a very long name");
    EXPECT_EQ(PlayerNameFrom(nullptr, "lo\tgin"), "lo_gin");
    EXPECT_EQ(PlayerNameFrom("", nullptr), "pilot");
}

TEST(ServerRules, EachJoiningPlayerGetsAPlaceNoJetIsOn)
{
    float x, z;
    StartPlace(0, x, z);
    EXPECT_EQ(x, 3075.0f); // the game's own start
    EXPECT_EQ(z, -9470.0f);
    EXPECT_EQ(FreeStartPlace(nullptr, 0), 0);
    float first[2] = {3075.0f, -9470.0f};
    EXPECT_EQ(FreeStartPlace(first, 1), 1);
    // The first player flew away: its place is free again.
    float away[2] = {3075.0f, 20000.0f};
    EXPECT_EQ(FreeStartPlace(away, 1), 0);
    // Every place differs from every other by more than a jet's clearance.
    for (int a = 0; a < NET_MAX_PLAYERS; a++)
        for (int b = a + 1; b < NET_MAX_PLAYERS; b++) {
            float ax, az, bx, bz;
            StartPlace(a, ax, az);
            StartPlace(b, bx, bz);
            EXPECT_GE(std::hypot(ax - bx, az - bz), START_CLEARANCE) << a << " " << b;
        }
}

// A name comes back to its own machine once its holder is silent; to no
// other machine, and not while the holder still answers.
TEST(ServerRules, ANameComesBackToItsOwnMachineOnceItsHolderIsSilent)
{
    struct NameCase {
        uint32_t holderHost;
        double silentS;
        uint32_t host;
        bool takenBack;
    } names[] = {{0x0100007f, 5.0, 0x0100007f, true},  {0x0100007f, 60.0, 0x0100007f, true},
                 {0x0100007f, 4.9, 0x0100007f, false}, {0x0100007f, 0.0, 0x0100007f, false},
                 {0x0100007f, 60.0, 0x0200007f, false}};
    for (const NameCase& c : names)
        EXPECT_EQ(NameTakenBack(c.holderHost, c.silentS, c.host), c.takenBack) << c.silentS << " " << c.host;
}

TEST(ServerRules, ABurstOfBadMessagesIsForgivenAStreamIsNot)
{
    // A step that goes backwards is one of them; the same step again is not.
    struct StepCase {
        uint32_t step;
        bool taken;
        uint32_t lastAfter;
    } steps[] = {{3, true, 3}, {3, true, 3}, {2, false, 3}, {0, false, 3}, {90, true, 90}, {89, false, 90}};
    uint32_t last = 0;
    for (const StepCase& c : steps) {
        EXPECT_EQ(TakeStateStep(last, c.step), c.taken) << c.step;
        EXPECT_EQ(last, c.lastAfter) << c.step;
    }
    BadBucket bucket;
    for (int i = 0; i < 20; i++)
        EXPECT_FALSE(CountBadMessage(bucket, 0.0)) << i;
    EXPECT_TRUE(CountBadMessage(bucket, 0.0));
    BadBucket slow;
    for (int i = 0; i < 1000; i++)
        EXPECT_FALSE(CountBadMessage(slow, i * 0.6)) << i; // fewer than two a second
    BadBucket steady;
    bool dropped = false;
    for (int i = 0; i < 1000 && !dropped; i++)
        dropped = CountBadMessage(steady, i * 0.1); // ten a second
    EXPECT_TRUE(dropped);
}

// The sender's jet flies along +z at 1000 units a second from step 100 (1 s),
// a state every 3 steps; our clock receives each 0.05 s after it was taken.
static void Receive(int id, uint32_t step, float z, uint8_t flags = 0)
{
    NetState s = LevelState(step);
    s.id = (uint8_t)id;
    s.pos[2] = z;
    s.flags = flags;
    RemoteJetState(liveSky, s, step * REMOTE_STEP_S + 0.05);
}

TEST(RemoteJets, DrawnBetweenStatesALittleBehindCarriedOnThenHeldThenGone)
{
    ResetRemoteJets();
    RemoteJetJoined(liveSky, 4, "Bo");
    for (uint32_t step = 100; step <= 190; step += 3)
        Receive(4, step, (float)(step - 100) * 10.0f);
    // The newest state, step 190 at z 900, arrived at our 1.95 s.
    struct Case {
        double nowS;
        bool shown;
        float z;
        const char* what;
    } cases[] = {
        {1.95, true, 800.0f, "100 ms behind the newest: between two states"},
        {1.915, true, 765.0f, "between two states, not on one"},
        {2.05, true, 900.0f, "on the newest"},
        {2.15, true, 1000.0f, "100 ms past it: carried on at its velocity"},
        {2.30, true, 1150.0f, "250 ms past it: the furthest it is carried"},
        {3.00, true, 1150.0f, "later: held"},
        {6.949, true, 1150.0f, "silent for just under 5 s: still shown"},
        {6.95, false, 0.0f, "silent for 5 s: gone"},
        {0.5, true, 0.0f, "before the oldest state kept: the oldest"},
    };
    for (const Case& c : cases) {
        RemotePose pose;
        ASSERT_EQ(RemoteJetPose(liveSky.jets[4], c.nowS, pose), c.shown) << c.what;
        EXPECT_EQ(RemoteJetCount(liveSky, c.nowS), c.shown ? 1 : 0) << c.what << ": listed as it is shown";
        if (!c.shown)
            continue;
        float oldest = liveSky.jets[4].samples[0].state.pos[2];
        EXPECT_NEAR(pose.body.pos.z, c.nowS < 1.0 ? oldest : c.z, 0.05f) << c.what;
        EXPECT_FLOAT_EQ(pose.body.pos.x, 3075.0f) << c.what;
    }
    // A state older than the newest changes nothing.
    Receive(4, 150, -5000.0f);
    RemotePose pose;
    ASSERT_TRUE(RemoteJetPose(liveSky.jets[4], 2.05, pose));
    EXPECT_NEAR(pose.body.pos.z, 900.0f, 0.05f);
    RemoteJetLeft(liveSky, 4);
    EXPECT_FALSE(RemoteJetPose(liveSky.jets[4], 2.05, pose)) << "gone at once when it leaves";
}

TEST(RemoteJets, TheFrameBetweenTwoStatesIsARotationAndFlagsFollowTheNearerState)
{
    ResetRemoteJets();
    RemoteJetJoined(liveSky, 1, "Al");
    NetState a = LevelState(100), b = LevelState(103);
    a.id = b.id = 1;
    // A quarter roll between the two: up turns from +y to -x.
    b.up[0] = -1, b.up[1] = 0;
    b.flags = NET_FLAG_EXPLODING;
    RemoteJetState(liveSky, a, 1.0);
    RemoteJetState(liveSky, b, 1.03);
    struct Case {
        double nowS;
        bool exploding;
    } cases[] = {{1.11, false}, {1.115, false}, {1.125, true}};
    for (const Case& c : cases) {
        RemotePose pose;
        ASSERT_TRUE(RemoteJetPose(liveSky.jets[1], c.nowS, pose));
        const Body& p = pose.body;
        EXPECT_NEAR(Dot(p.dir, p.dir), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(p.up, p.up), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(p.dir, p.up), 0.0f, 1e-5f);
        EXPECT_NEAR(Dot(p.normal, p.up), 0.0f, 1e-5f);
        EXPECT_NEAR(Dot(p.normal, p.normal), 1.0f, 1e-5f);
        EXPECT_EQ(pose.exploding, c.exploding) << c.nowS;
    }
    RemotePose half;
    ASSERT_TRUE(RemoteJetPose(liveSky.jets[1], 1.115, half));
    EXPECT_NEAR(half.body.up.x, -0.7071f, 1e-3f);
    EXPECT_NEAR(half.body.up.y, 0.7071f, 1e-3f);
}

// A shared flight's side file: a join, three states, a crash and a leave.
static NetMessage Joined(uint8_t id, const char* name)
{
    NetMessage m;
    m.type = NET_JOINED;
    m.id = id;
    m.name = name;
    return m;
}

static NetMessage StateOf(uint8_t id, uint32_t step, float z, uint8_t flags = 0)
{
    NetMessage m;
    m.type = NET_STATE;
    m.state = LevelState(step);
    m.state.id = id;
    m.state.pos[2] = z;
    m.state.flags = flags;
    return m;
}

static NetMessage IdOnly(NetType type, uint8_t id, uint8_t event = 0)
{
    NetMessage m;
    m.type = type;
    m.id = id;
    m.event = event;
    return m;
}

static std::vector<uint8_t> GoodSideFile()
{
    std::vector<uint8_t> bytes;
    EncodeFriendsHeader(bytes);
    EncodeFriendsRecord(0, Joined(2, "Bo"), bytes);
    EncodeFriendsRecord(3, StateOf(2, 1000, 10), bytes);
    EncodeFriendsRecord(6, StateOf(2, 1003, 40), bytes);
    EncodeFriendsRecord(6, StateOf(2, 1006, 70, NET_FLAG_EXPLODING), bytes);
    EncodeFriendsRecord(9, IdOnly(NET_EVENT, 2, NET_EVENT_CRASH), bytes);
    EncodeFriendsRecord(12, IdOnly(NET_LEFT, 2), bytes);
    return bytes;
}

static void AppendRaw(std::vector<uint8_t>& bytes, uint32_t step, const std::vector<uint8_t>& message)
{
    for (int i = 0; i < 4; i++)
        bytes.push_back((uint8_t)(step >> (8 * i)));
    bytes.push_back((uint8_t)message.size());
    bytes.push_back((uint8_t)(message.size() >> 8));
    bytes.insert(bytes.end(), message.begin(), message.end());
}

TEST(FriendsFile, EveryMessageComesBackWithItsStep)
{
    std::vector<uint8_t> bytes = GoodSideFile();
    std::vector<FriendsRecord> records;
    std::string damage;
    ASSERT_TRUE(ParseFriendsBytes(bytes.data(), bytes.size(), records, damage));
    EXPECT_EQ(damage, "");
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0].type, NET_JOINED);
    EXPECT_STREQ(records[0].name, "Bo");
    EXPECT_EQ(records[2].step, 6u);
    EXPECT_EQ(records[2].state.step, 1003u);
    EXPECT_EQ(records[2].state.id, 2);
    EXPECT_FLOAT_EQ(records[2].state.pos[2], 40.0f);
    EXPECT_EQ(records[3].state.flags, NET_FLAG_EXPLODING);
    EXPECT_EQ(records[4].event, NET_EVENT_CRASH);
    EXPECT_EQ(records[5].type, NET_LEFT);
    NetMessage hello;
    hello.type = NET_HELLO;
    EXPECT_FALSE(EncodeFriendsRecord(1, hello, bytes)) << "a hello is not the other jets' business";
}

TEST(FriendsFile, ADamagedSideFileIsShownUpToTheDamage)
{
    const std::vector<uint8_t> good = GoodSideFile();
    const size_t whole = 6;
    NetState nan = LevelState(2000);
    nan.pos[1] = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool read;        // the header taken
        size_t records;   // kept before the damage
        const char* says; // in the reason
    };
    auto with = [&](auto change) {
        std::vector<uint8_t> b = good;
        change(b);
        return b;
    };
    std::vector<Case> cases = {
        {"empty", {}, false, 0, "not a friends file"},
        {"another magic", with([](std::vector<uint8_t>& b) { b[0] = 'Q'; }), false, 0, "not a friends file"},
        {"a later version", with([](std::vector<uint8_t>& b) { b[4] = 2; }), false, 0, "version 2"},
        {"the reserved bytes set", with([](std::vector<uint8_t>& b) { b[7] = 1; }), false, 0, "version"},
        {"only the header", std::vector<uint8_t>(good.begin(), good.begin() + FRIENDS_HEADER_BYTES), true, 0, ""},
        {"cut inside the last message", with([](std::vector<uint8_t>& b) { b.pop_back(); }), true, whole - 1,
         "cut short"},
        {"cut inside a record's head", with([](std::vector<uint8_t>& b) { b.insert(b.end(), {1, 0, 0}); }), true,
         whole, "cut short"},
        {"a message of no bytes", with([](std::vector<uint8_t>& b) { AppendRaw(b, 20, {}); }), true, whole,
         "0 bytes"},
        {"a message too long to be one", with([](std::vector<uint8_t>& b) {
             AppendRaw(b, 20, std::vector<uint8_t>(FRIENDS_MESSAGE_MAX + 1, NET_STATE));
         }), true, whole, "bytes"},
        {"a message of an unknown type", with([](std::vector<uint8_t>& b) { AppendRaw(b, 20, {200, 0, 0}); }), true,
         whole, "refused"},
        {"a position that is not a number", with([&](std::vector<uint8_t>& b) { AppendRaw(b, 20, EncodeState(nan)); }),
         true, whole, "refused"},
        {"a message a recording does not keep",
         with([](std::vector<uint8_t>& b) { AppendRaw(b, 20, EncodeClock(10.0f, 20.0f)); }), true, whole,
         "does not keep"},
        {"a step going backwards",
         with([](std::vector<uint8_t>& b) { AppendRaw(b, 11, EncodeLeft(2)); }), true, whole, "backwards"},
    };
    for (const Case& c : cases) {
        std::vector<FriendsRecord> records;
        std::string damage;
        EXPECT_EQ(ParseFriendsBytes(c.bytes.data(), c.bytes.size(), records, damage), c.read) << c.what;
        EXPECT_EQ(records.size(), c.records) << c.what;
        EXPECT_NE(damage.find(c.says), std::string::npos) << c.what << ": " << damage;
        EXPECT_EQ(damage.empty(), c.says[0] == '\0') << c.what;
    }
}

// Live play takes each message at the wall clock of the step it came in;
// a replay takes them at its own steps: the side file's from the start
// (--play), or those kept in memory from a later step (the instant replay,
// long after the friend's join). A friend's states come unevenly, one or two
// steps after they were taken; the jet must be drawn where live play drew it
// at every step, and be gone after its leave, in a sky of the replay's own.
TEST(RemoteJets, AReplayShowsTheFriendWhereLivePlayDid)
{
    ResetRemoteJets();
    ResetFriendsRecorderState();
    EXPECT_DOUBLE_EQ(ShownSkyNowS(123.25), 123.25) << "live play goes by the wall clock";
    const double wallStart = 5000.0; // the live clock at the recording's step 0
    const int steps = (int)FRIENDS_KEPT_STEPS + 600, leaveStep = steps - 70;
    std::vector<uint8_t> side;
    EncodeFriendsHeader(side);
    struct Seen {
        bool shown;
        RemotePose pose;
    };
    std::vector<Seen> live(steps);
    const uint32_t senderStart = 7000; // the friend's step at our step 0
    std::vector<std::vector<NetMessage>> came(steps);
    came[2].push_back(Joined(5, "Di"));
    // A state every third step, late by one or two of ours; it explodes late on.
    for (int taken = 3; taken + 2 < leaveStep; taken += 3) {
        uint32_t at = senderStart + (uint32_t)taken;
        came[taken + 1 + (taken / 3) % 2].push_back(
            StateOf(5, at, (float)at * 7.0f, taken > leaveStep - 130 ? NET_FLAG_EXPLODING : 0));
    }
    came[leaveStep].push_back(IdOnly(NET_LEFT, 5));
    for (int step = 0; step < steps; step++) {
        double wall = wallStart + step * REMOTE_STEP_S;
        for (const NetMessage& m : came[step]) {
            if (m.type == NET_STATE)
                RemoteJetState(liveSky, m.state, wall);
            else if (m.type == NET_JOINED)
                RemoteJetJoined(liveSky, m.id, m.name);
            else
                RemoteJetLeft(liveSky, m.id);
            ASSERT_TRUE(EncodeFriendsRecord((uint32_t)step, m, side));
            RecordFriendMessage(m, step);
        }
        live[step].shown = RemoteJetPose(liveSky.jets[5], ShownSkyNowS(wall), live[step].pose);
    }
    std::vector<FriendsRecord> fromFile, kept = KeptFriendMessages();
    std::string damage;
    ASSERT_TRUE(ParseFriendsBytes(side.data(), side.size(), fromFile, damage));
    ASSERT_EQ(damage, "");
    ASSERT_GT(kept.size(), 2u);
    EXPECT_EQ(kept[0].type, NET_JOINED) << "the join, long gone, stands first";
    EXPECT_GE(kept[1].step, (uint32_t)(leaveStep - FRIENDS_KEPT_STEPS)) << "only the last seconds are kept";
    const int instantFrom = steps - 3100;
    struct Replay {
        const char* what;
        const std::vector<FriendsRecord>& records;
        int from;
    } replays[] = {{"the side file", fromFile, 0}, {"the kept messages", kept, instantFrom}};
    for (const Replay& r : replays) {
        size_t next = TakeFriendsRecordsDue(r.records, 0, r.from);
        EXPECT_EQ(&ShownSky(), &replaySky) << r.what << ": a replay shows its own sky";
        EXPECT_EQ(liveSky.jets[5].present, false) << r.what << ": the live sky is left as it was";
        int shownSteps = 0;
        for (int step = r.from; step < steps; step++) {
            next = TakeFriendsRecordsDue(r.records, next, step);
            RemotePose pose;
            // The wall clock is no part of it: a paused or timed replay shows the same.
            bool shown = RemoteJetPose(replaySky.jets[5], ShownSkyNowS(wallStart * 3.0), pose);
            ASSERT_EQ(shown, live[step].shown) << r.what << ", step " << step;
            if (!shown)
                continue;
            if (shownSteps++ == 0) {
                EXPECT_STREQ(replaySky.jets[5].name, "Di") << r.what << ": named from its join";
            }
            EXPECT_NEAR(pose.body.pos.z, live[step].pose.body.pos.z, 1e-2f) << r.what << ", step " << step;
            EXPECT_NEAR(pose.body.up.y, live[step].pose.body.up.y, 1e-5f) << r.what << ", step " << step;
            EXPECT_EQ(pose.exploding, live[step].pose.exploding) << r.what << ", step " << step;
        }
        EXPECT_GT(shownSteps, steps - r.from - 100) << r.what << ": the friend is seen for most of the flight";
        EXPECT_STREQ(replaySky.jets[5].name, "") << r.what << ": gone after its leave";
        ClearSky(replaySky);
    }
    EXPECT_FALSE(live[steps - 1].shown) << "gone after its leave";
    EXPECT_DOUBLE_EQ(ShownSkyNowS(7.5), 7.5) << "a cleared replay goes back to the wall clock";
    ResetFriendsRecorderState();
    ResetRemoteJets();
}

// The side file written as messages come: it starts with the jets already
// here, and one an earlier recording of the same name left goes at once.
TEST(FriendsFile, TheRecorderWritesWhatItReceivedBesideTheRecording)
{
    char folder[] = "/tmp/pelorin-friends-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string recording = std::string(folder) + "/flight.rec";
    std::string side = recording + FRIENDS_SUFFIX;
    std::ofstream(side) << "an earlier flight's friends";
    ResetRemoteJets();
    RemoteJetJoined(liveSky, 3, "Cy");
    StartFriendsFile(recording);
    EXPECT_NE(access(side.c_str(), F_OK), 0) << "the earlier side file is gone";
    RecordFriendMessage(StateOf(3, 500, 20), 41);
    RecordFriendMessage(IdOnly(NET_LEFT, 3), 45);
    CloseFriendsFile();
    std::vector<FriendsRecord> records;
    std::string damage;
    ASSERT_TRUE(ReadFriendsFile(side.c_str(), records, damage)) << damage;
    EXPECT_EQ(damage, "");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].type, NET_JOINED);
    EXPECT_STREQ(records[0].name, "Cy");
    EXPECT_EQ(records[0].step, 41u);
    EXPECT_EQ(records[1].state.step, 500u);
    EXPECT_EQ(records[2].step, 45u);
    ResetFriendsRecorderState();
    ResetRemoteJets();
    unlink(side.c_str());
    rmdir(folder);
}
