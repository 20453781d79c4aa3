// What the game and its server say to each other when friends fly together:
// every message's layout, written and read here without any network code,
// so that each field the server relays has been checked first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Changes whenever a message's layout does; a client of another protocol is
// refused before it can send anything the server would misread.
const uint16_t NET_PROTOCOL = 1;
const int NET_DEFAULT_PORT = 28217;
const int NET_DEFAULT_PLAYERS = 16;
const int NET_MAX_PLAYERS = 64;
const int NET_NAME_MAX = 16;       // printable characters of a player's name
const int NET_VERSION_MAX = 32;    // characters of the game's version text
const int NET_REASON_MAX = 120;    // characters of a refusal's or farewell's reason
// The server sends the landscape file in one message; the delivered one is a
// few kilobytes, and an edited one this large is already slow to send.
const size_t NET_LANDSCAPE_MAX = (size_t)16 << 20;
// Nothing legitimate comes near: positions stay within the generated tiles'
// few hundred thousand units, speeds within a few hundred a tick.
const float NET_POSITION_LIMIT = 1.0e7f;
const float NET_SPEED_LIMIT = 1.0e5f;
// A frame whose axes are off unit length or off square by more than this is
// not a rotation that the sender's own flight could have made.
const float NET_FRAME_TOLERANCE = 1.0e-2f;

// A connection is given up after this long without an answer: long, since a
// game starting on a busy machine can be slow to answer for seconds; the
// players themselves stop showing a silent friend's jet after 5 s.
const unsigned NET_TIMEOUT_MIN_MS = 15000;
const unsigned NET_TIMEOUT_MAX_MS = 30000;

// ENet channels: states may be dropped and only the newest counts; the rest
// arrives whole and in order.
const int NET_CHANNEL_STATE = 0;
const int NET_CHANNEL_RELIABLE = 1;
const int NET_CHANNELS = 2;

enum NetType : uint8_t {
    NET_HELLO = 1,    // client: protocol, version, name
    NET_WELCOME,      // server: the player's id and place, the day clock, the landscape
    NET_REFUSED,      // server: why a join is refused
    NET_STATE,        // both: a jet's state (the server fills in the sender's id)
    NET_JOINED,       // server: a player is here (id, name)
    NET_LEFT,         // server: a player is gone (id)
    NET_EVENT,        // both: a crash or a restart (the server fills in the id)
    NET_CLOCK,        // server: the day clock
    NET_GOODBYE,      // server: the server stops, or drops this client; why
    NET_TYPE_END
};

enum NetEvent : uint8_t { NET_EVENT_CRASH = 1, NET_EVENT_RESTART = 2 };

// Why a join is refused; each has its own line on the client.
enum NetRefusal : uint8_t {
    REFUSED_FULL = 1,
    REFUSED_VERSION,
    REFUSED_NAME_TAKEN,
    REFUSED_BAD_HELLO,
};

const uint8_t NET_FLAG_GEAR = 1;
const uint8_t NET_FLAG_EXPLODING = 2;
const uint8_t NET_FLAGS_KNOWN = NET_FLAG_GEAR | NET_FLAG_EXPLODING;

// A jet as the others draw it. The right wing is dir x up and is not sent.
struct NetState {
    uint8_t id = 0;     // the player's id; whatever a client sends, the server sets it
    uint32_t step = 0;  // the sender's step count when it was taken (10 ms each)
    float pos[3] = {0, 0, 0};
    float dir[3] = {0, 0, 1};
    float up[3] = {0, 1, 0};
    float speed = 0;
    float thrust = 0;
    uint8_t flags = 0;
};

// One decoded message: the fields of its type are set, the others stay.
struct NetMessage {
    NetType type = NET_TYPE_END;
    uint16_t protocol = 0;         // hello
    std::string version;           // hello
    std::string name;              // hello, joined
    uint8_t id = 0;                // welcome (the receiver's own), joined, left, event
    uint8_t slot = 0;              // welcome: the place on the airfield
    uint8_t maxPlayers = 0;        // welcome
    float sun = 0, moon = 0;       // welcome, clock: degrees
    uint64_t digest = 0;           // welcome: of the landscape bytes
    std::vector<char> landscape;   // welcome: the file's bytes; empty when the server has none
    uint8_t refusal = 0;           // refused
    std::string reason;            // refused, goodbye
    uint8_t event = 0;             // event
    NetState state;                // state
};

// Why a message was refused; NET_OK when it was taken.
enum NetDecodeResult {
    NET_OK = 0,
    NET_BAD_EMPTY,
    NET_BAD_TYPE,
    NET_BAD_SIZE,
    NET_BAD_NUMBER,     // not finite
    NET_BAD_RANGE,      // finite but out of bounds
    NET_BAD_FRAME,      // not orthonormal within the tolerance
    NET_BAD_FLAGS,
    NET_BAD_TEXT,       // a name or reason too long, empty or not printable
    NET_BAD_DIGEST,     // the landscape does not match its digest
    NET_BAD_COUNT
};

// A word for each result, for the server's lines and the tests.
const char* NetDecodeResultName(NetDecodeResult result);

// Decodes one received message. Every field is checked; nothing is taken
// from a message that is refused.
NetDecodeResult DecodeNetMessage(const uint8_t* data, size_t size, NetMessage& out);

// Encoders: each returns the message's bytes. They write what they are given;
// the checks are the decoder's.
std::vector<uint8_t> EncodeHello(const std::string& version, const std::string& name, uint16_t protocol = NET_PROTOCOL);
std::vector<uint8_t> EncodeWelcome(uint8_t id, uint8_t slot, uint8_t maxPlayers, float sun, float moon,
                                   const std::vector<char>& landscape);
std::vector<uint8_t> EncodeRefused(NetRefusal refusal, const std::string& reason);
std::vector<uint8_t> EncodeState(const NetState& state);
std::vector<uint8_t> EncodeJoined(uint8_t id, const std::string& name);
std::vector<uint8_t> EncodeLeft(uint8_t id);
std::vector<uint8_t> EncodeEvent(uint8_t id, NetEvent event);
std::vector<uint8_t> EncodeClock(float sun, float moon);
std::vector<uint8_t> EncodeGoodbye(const std::string& reason);

// The bytes' FNV-1a digest: names a cached landscape and checks a received one.
uint64_t NetDigest(const char* data, size_t size);
// 1 to NET_NAME_MAX characters from ' ' to '~'.
bool ValidPlayerName(const std::string& name);
// The name a client is known by: the given one cut to NET_NAME_MAX characters
// with anything unprintable made '_', else the login name, else "pilot".
std::string PlayerNameFrom(const char* given, const char* login);
// Splits "HOST[:PORT]" ("[::1]:PORT" for an IPv6 address). False for an empty
// host or a port that is not 1 to 65535.
bool SplitHostPort(const char* text, std::string& host, int& port);
