// libFuzzer target: any bytes as a shared flight's side file. What the reader
// keeps must be the file's own beginning: the header and its records encoded
// again give back exactly the bytes before the damage (all of them when it
// reports none), with steps that never go back and states that are numbers.
// fuzz-sources: common/friends_file.cpp common/net_messages.cpp common/regular_file.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/friends_file.h"

static NetMessage MessageOf(const FriendsRecord& r)
{
    NetMessage m;
    m.type = r.type;
    m.id = r.id;
    m.event = r.event;
    m.name = r.name;
    m.state = r.state;
    return m;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<FriendsRecord> records;
    std::string damage;
    if (!ParseFriendsBytes(data, size, records, damage)) {
        if (!records.empty() || damage.empty())
            abort();
        return 0;
    }
    std::vector<uint8_t> again;
    EncodeFriendsHeader(again);
    for (size_t i = 0; i < records.size(); i++) {
        const FriendsRecord& r = records[i];
        if (i > 0 && r.step < records[i - 1].step)
            abort();
        if (r.type == NET_STATE)
            for (float v : {r.state.pos[0], r.state.pos[1], r.state.pos[2], r.state.speed, r.state.thrust})
                if (!std::isfinite(v))
                    abort();
        if (!EncodeFriendsRecord(r.step, MessageOf(r), again))
            abort();
    }
    if (again.size() > size || memcmp(again.data(), data, again.size()) != 0)
        abort();
    if (damage.empty() != (again.size() == size))
        abort();
    return 0;
}
