// libFuzzer target: any bytes as a message from the network. A message the
// decoder takes must encode back to the very same bytes and hold only values
// its checks allow; a refused one must leave the output as it was.
// fuzz-sources: common/net_messages.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/net_messages.h"

static std::vector<uint8_t> Encode(const NetMessage& m)
{
    switch (m.type) {
    case NET_HELLO:
        return EncodeHello(m.version, m.name, m.protocol);
    case NET_WELCOME:
        return EncodeWelcome(m.id, m.slot, m.maxPlayers, m.sun, m.moon, m.landscape);
    case NET_REFUSED:
        return EncodeRefused((NetRefusal)m.refusal, m.reason);
    case NET_STATE:
        return EncodeState(m.state);
    case NET_JOINED:
        return EncodeJoined(m.id, m.name);
    case NET_LEFT:
        return EncodeLeft(m.id);
    case NET_EVENT:
        return EncodeEvent(m.id, (NetEvent)m.event);
    case NET_CLOCK:
        return EncodeClock(m.sun, m.moon);
    case NET_GOODBYE:
        return EncodeGoodbye(m.reason);
    default:
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NetMessage m;
    m.name = "untouched";
    if (DecodeNetMessage(data, size, m) != NET_OK) {
        if (m.name != "untouched" || m.type != NET_TYPE_END)
            abort();
        return 0;
    }
    std::vector<uint8_t> again = Encode(m);
    if (again.size() != size || memcmp(again.data(), data, size) != 0)
        abort();
    if (m.type == NET_STATE) {
        const NetState& s = m.state;
        for (float v : {s.pos[0], s.pos[1], s.pos[2], s.speed, s.thrust})
            if (!std::isfinite(v))
                abort();
        float dd = s.dir[0] * s.dir[0] + s.dir[1] * s.dir[1] + s.dir[2] * s.dir[2];
        if (!(std::fabs(dd - 1.0f) <= NET_FRAME_TOLERANCE) || s.id >= NET_MAX_PLAYERS)
            abort();
    }
    if ((m.type == NET_HELLO || m.type == NET_JOINED) && !ValidPlayerName(m.name))
        abort();
    return 0;
}
