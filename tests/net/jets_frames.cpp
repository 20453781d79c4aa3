// What friends' jets cost a frame: the game's whole frame at 640 x 480 from
// the cockpit on the airfield, with one friend's jet standing ahead and with
// many, drawn alternately frame by frame in one process, so that a machine
// whose speed wanders (a shared one always does) slows both alike. The jets
// stand where `net-bot --park` puts them, and come in as a replay takes a
// shared flight's side file. Not a test: scripts/bench.d/net_bench.sh runs it.
//   jets-frames DATA_FOLDER [JETS [PAIRS]]
// prints the median frame with one jet and with JETS (default 31), and the
// median of the pairs' ratios.
#include <GL/glut.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/friends_file.h"
#include "common/monotonic_clock.h"
#include "server/server_rules.h"
#include "sim/flight/remote_jets.h"
#include "sim/render/frame.h"
#include "sim/shell/scene.h"
#include "sim/shell/start_state.h"
#include "sim/view/view_state.h"

// A sky of `count` jets standing in a fan ahead of the first place, rows
// 2000 to 5000 units out, as net-bot --park stands them.
static RemoteSky Standing(int count)
{
    std::vector<FriendsRecord> records;
    float x0, z0;
    StartPlace(0, x0, z0);
    for (int i = 0; i < count; i++) {
        FriendsRecord joined;
        joined.type = NET_JOINED;
        joined.id = (uint8_t)(i + 1);
        snprintf(joined.name, sizeof joined.name, "b%d", i);
        FriendsRecord state;
        state.step = 1;
        state.state.id = (uint8_t)(i + 1);
        state.state.step = 1;
        state.state.pos[0] = x0 + (float)((i % 8) - 3.5) * 250.0f;
        state.state.pos[1] = 300.0f + (float)(i / 8) * 150.0f;
        state.state.pos[2] = z0 + 2000.0f + (float)(i / 8) * 1000.0f;
        state.state.dir[2] = 1.0f;
        state.state.up[1] = 1.0f;
        state.state.thrust = 40.0f;
        state.state.flags = NET_FLAG_GEAR;
        records.push_back(joined);
        records.push_back(state);
    }
    ClearSky(replaySky);
    TakeFriendsRecordsDue(records, 0, 10);
    return replaySky;
}

static double FrameMs()
{
    int64_t start = MonotonicNs();
    RenderScene();
    glFinish();
    return (MonotonicNs() - start) / 1e6;
}

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

int main(int argc, char** argv)
{
    if (argc < 2 || chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: jets-frames DATA_FOLDER [JETS [PAIRS]]\n");
        return 2;
    }
    int jets = argc > 2 ? atoi(argv[2]) : 31, pairs = argc > 3 ? atoi(argv[3]) : 1000;
    if (jets < 1 || jets >= NET_MAX_PLAYERS || pairs < 1) {
        fprintf(stderr, "jets-frames: 1 to %d jets and at least one pair\n", NET_MAX_PLAYERS - 1);
        return 2;
    }
    ResetSimulation();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutCreateWindow("Tessaly -- Pelorin 2000");
    SetupScene();
    Reshape(640, 480);
    viewMode = VIEW_COCKPIT;
    RemoteSky one = Standing(1), many = Standing(jets);
    for (int i = 0; i < 50; i++) // the lists, textures and glyphs made, the caches warm
        FrameMs();
    std::vector<double> oneMs, manyMs, ratios;
    for (int i = 0; i < pairs; i++) {
        // Which goes first changes each pair, so neither always follows the other.
        double a, b;
        if (i % 2 == 0) {
            replaySky = one;
            a = FrameMs();
            replaySky = many;
            b = FrameMs();
        } else {
            replaySky = many;
            b = FrameMs();
            replaySky = one;
            a = FrameMs();
        }
        oneMs.push_back(a);
        manyMs.push_back(b);
        ratios.push_back(b / a);
    }
    printf("1 jet: median %.3f ms; %d jets: median %.3f ms; %d pairs: %.3f times (median of the pairs' ratios)\n",
           Median(oneMs), jets, Median(manyMs), pairs, Median(ratios));
    return 0;
}
