// The received states of friends' jets and their interpolation.
#include "sim/flight/remote_jets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

RemoteSky liveSky;
RemoteSky replaySky;
char ownPlayerName[NET_NAME_MAX + 1];

void ClearSky(RemoteSky& sky)
{
    sky = RemoteSky();
}

void ResetRemoteJets()
{
    ClearSky(liveSky);
    ClearSky(replaySky);
    ownPlayerName[0] = '\0';
}

const RemoteSky& ShownSky()
{
    return replaySky.replayClockS >= 0.0 ? replaySky : liveSky;
}

double ShownSkyNowS(double wallS)
{
    return replaySky.replayClockS >= 0.0 ? replaySky.replayClockS : wallS;
}

size_t TakeFriendsRecordsDue(const std::vector<FriendsRecord>& records, size_t next, int64_t stepsDone)
{
    replaySky.replayClockS = stepsDone * REMOTE_STEP_S;
    for (; next < records.size() && records[next].step <= stepsDone; next++) {
        const FriendsRecord& record = records[next];
        switch (record.type) {
        case NET_STATE: RemoteJetState(replaySky, record.state, record.step * REMOTE_STEP_S); break;
        case NET_JOINED: RemoteJetJoined(replaySky, record.id, record.name); break;
        case NET_LEFT: RemoteJetLeft(replaySky, record.id); break;
        default: break; // a crash shows in the states' explosion flag
        }
    }
    return next;
}

void RemoteJetJoined(RemoteSky& sky, int id, const std::string& name)
{
    if (id < 0 || id >= NET_MAX_PLAYERS)
        return;
    RemoteJet& jet = sky.jets[id];
    jet = RemoteJet();
    jet.present = true;
    snprintf(jet.name, sizeof jet.name, "%s", name.c_str());
}

void RemoteJetLeft(RemoteSky& sky, int id)
{
    if (id >= 0 && id < NET_MAX_PLAYERS)
        sky.jets[id] = RemoteJet();
}

// The clock offset may rise this much a second, so that a sender whose
// states were once early does not look late for ever.
const double OFFSET_CREEP = 0.01;

void RemoteJetState(RemoteSky& sky, const NetState& state, double nowS)
{
    if (state.id >= NET_MAX_PLAYERS)
        return;
    RemoteJet& jet = sky.jets[state.id];
    if (!jet.present)
        RemoteJetJoined(sky, state.id, "");
    double senderS = state.step * REMOTE_STEP_S;
    if (jet.count > 0 && senderS <= jet.samples[jet.count - 1].senderS)
        return;
    double offset = nowS - senderS;
    if (jet.count == 0)
        jet.offsetS = offset;
    else
        jet.offsetS = std::fmin(offset, jet.offsetS + (nowS - jet.lastHeardS) * OFFSET_CREEP);
    if (jet.count == REMOTE_SAMPLES) {
        std::copy(jet.samples + 1, jet.samples + REMOTE_SAMPLES, jet.samples);
        jet.count--;
    }
    jet.samples[jet.count++] = {senderS, state};
    jet.lastHeardS = nowS;
}

static Vec3 ToVec(const float* v)
{
    return {v[0], v[1], v[2]};
}

static Vec3 Mix(const Vec3& a, const Vec3& b, double t)
{
    return {(float)(a.x + (b.x - a.x) * t), (float)(a.y + (b.y - a.y) * t), (float)(a.z + (b.z - a.z) * t)};
}

// dir made unit, up made square to it and unit, the right wing from both.
// A degenerate pair (which the checked states cannot give) keeps a level frame.
static void Orthonormalise(Body& b)
{
    double d = std::sqrt((double)Dot(b.dir, b.dir));
    if (d < 1e-6) {
        b.dir = {0, 0, 1};
        d = 1;
    }
    b.dir = {(float)(b.dir.x / d), (float)(b.dir.y / d), (float)(b.dir.z / d)};
    float along = Dot(b.up, b.dir);
    Vec3 up = {b.up.x - along * b.dir.x, b.up.y - along * b.dir.y, b.up.z - along * b.dir.z};
    double u = std::sqrt((double)Dot(up, up));
    if (u < 1e-6) {
        up = std::fabs(b.dir.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
        along = Dot(up, b.dir);
        up = {up.x - along * b.dir.x, up.y - along * b.dir.y, up.z - along * b.dir.z};
        u = std::sqrt((double)Dot(up, up));
    }
    b.up = {(float)(up.x / u), (float)(up.y / u), (float)(up.z / u)};
    b.normal = {b.dir.y * b.up.z - b.dir.z * b.up.y, b.dir.z * b.up.x - b.dir.x * b.up.z,
                b.dir.x * b.up.y - b.dir.y * b.up.x};
}

static void FromState(const NetState& s, RemotePose& pose)
{
    pose = RemotePose();
    pose.body.pos = ToVec(s.pos);
    pose.body.dir = ToVec(s.dir);
    pose.body.up = ToVec(s.up);
    pose.body.speed = s.speed;
    pose.body.thrust = s.thrust;
    pose.gearDown = s.flags & NET_FLAG_GEAR;
    pose.exploding = s.flags & NET_FLAG_EXPLODING;
}

bool RemoteJetPose(const RemoteJet& jet, double nowS, RemotePose& pose)
{
    if (!jet.present || jet.count == 0 || nowS - jet.lastHeardS >= REMOTE_SILENCE_S)
        return false;
    double t = nowS - jet.offsetS - REMOTE_DELAY_S; // on the sender's timeline
    const RemoteSample* s = jet.samples;
    int n = jet.count;
    if (t <= s[0].senderS || n == 1) {
        FromState(s[0].state, pose);
    } else if (t >= s[n - 1].senderS) {
        const RemoteSample &last = s[n - 1], &before = s[n - 2];
        FromState(last.state, pose);
        double ahead = std::fmin(t - last.senderS, REMOTE_EXTRAPOLATE_S);
        double span = last.senderS - before.senderS;
        Vec3 a = ToVec(before.state.pos), b = ToVec(last.state.pos);
        pose.body.pos = Mix(b, {2 * b.x - a.x, 2 * b.y - a.y, 2 * b.z - a.z}, ahead / span);
    } else {
        int i = 1;
        while (s[i].senderS < t)
            i++;
        const RemoteSample &a = s[i - 1], &b = s[i];
        double f = (t - a.senderS) / (b.senderS - a.senderS);
        FromState(f < 0.5 ? a.state : b.state, pose);
        pose.body.pos = Mix(ToVec(a.state.pos), ToVec(b.state.pos), f);
        pose.body.dir = Mix(ToVec(a.state.dir), ToVec(b.state.dir), f);
        pose.body.up = Mix(ToVec(a.state.up), ToVec(b.state.up), f);
        pose.body.speed = (float)(a.state.speed + (b.state.speed - a.state.speed) * f);
        pose.body.thrust = (float)(a.state.thrust + (b.state.thrust - a.state.thrust) * f);
    }
    Orthonormalise(pose.body);
    return true;
}

bool RemoteJetListed(const RemoteJet& jet, double nowS)
{
    return jet.present && (jet.count == 0 || nowS - jet.lastHeardS < REMOTE_SILENCE_S);
}

int RemoteJetCount(const RemoteSky& sky, double nowS)
{
    int n = 0;
    for (const RemoteJet& jet : sky.jets)
        n += RemoteJetListed(jet, nowS);
    return n;
}
