// The sound's synthesis and mix: every voice from oscillators, filtered noise
// and envelopes, the listener's muffling, distance and pan, and a soft limit.
#include "sim/sound/synth.h"

#include <cmath>

namespace {

const float TWO_PI = 6.28318530718f;
const float PI = 3.14159265359f;
// Parameters move once a block; gains glide every sample.
const int BLOCK_FRAMES = 32;

// Engines. The whine is the compressor's tone with two overtones, one engine
// a little off the other's pitch so that the pair beats slowly; the hum
// is the shafts' low note; the roar is the exhaust's noise.
const float WHINE_IDLE_HZ = 520.0f;
const float WHINE_RANGE_HZ = 1480.0f;
const float SECOND_ENGINE_BEAT_HZ = 2.5f; // the pair beats this slowly at any spool
const float WHINE_WOBBLE = 0.004f; // fraction of the pitch the slow wander moves it
const float HUM_IDLE_HZ = 48.0f;
const float HUM_RANGE_HZ = 60.0f;
const float ROAR_IDLE_HZ = 180.0f;
const float ROAR_RANGE_HZ = 820.0f;
const float ROAR_Q = 0.7f;
const float ROAR_LOW_HZ = 120.0f;
const float ENGINE_IDLE_RMS = 0.035f; // a low idle at thrust 0
const float ENGINE_RANGE_RMS = 0.2f;  // added at full spool
const float ENGINE_LOUDNESS_CURVE = 0.8f;
const float COCKPIT_MUFFLE_HZ = 900.0f; // two poles: the engines heard through the airframe

// Airflow: a broad rush whose band rises with speed, and a hiss above it.
const float AIR_REFERENCE_SPEED = 200.0f; // thrust 100 in the heading model
const float AIR_MAX_RATIO = 1.6f;
const float AIR_BASE_HZ = 400.0f;
const float AIR_RANGE_HZ = 2200.0f;
const float AIR_Q = 0.5f;
const float AIR_RMS = 0.1f; // at the reference speed
const float COCKPIT_AIR_BOOST = 1.5f;

// Wheels: a rumble whose band and bumps rise with speed.
const float WHEEL_REFERENCE_SPEED = 60.0f;
const float WHEEL_MAX_RATIO = 1.5f;
const float WHEEL_RMS = 0.07f;
const float WHEEL_BASE_HZ = 60.0f;
const float WHEEL_HZ_PER_SPEED = 1.2f;
const float BUMPS_BASE_HZ = 2.0f;
const float BUMPS_HZ_PER_SPEED = 0.25f;

// Listener. Outside, the aircraft is heard in full up to FULL_DISTANCE and
// falls off as 1/distance beyond, losing treble to the air as it goes.
const float FULL_DISTANCE = 600.0f;
// A friend's engines at their loudest against the own engines' at theirs.
const float FRIEND_LEVEL = 0.35f;
const float ABSORB_START = 1500.0f;
const float ABSORB_TOP_HZ = 16000.0f;
const float CRASH_FLOOR_GAIN = 0.35f; // a crash is heard from anywhere
const float PAUSE_GLIDE_SECONDS = 0.004f;
const float LEVEL_GLIDE_SECONDS = 0.02f;
const float LISTENER_GLIDE_SECONDS = 0.03f;
const float MASTER_FALL_SECONDS = 0.005f;
const float MASTER_RISE_SECONDS = 0.015f; // a gentle start, no click

// Soft limit: untouched up to the knee, then bent so that no sample reaches 1.
const float LIMIT_KNEE = 0.7f;
const float LIMIT_ROOM = 0.29f;

float Clamp(float v, float low, float high)
{
    // NaN lands on `low`.
    return v > low ? (v < high ? v : high) : low;
}

float Fraction(float x)
{
    return x - std::floor(x);
}

float Sine(const SoundMixer& m, float cycles)
{
    float at = Fraction(cycles) * SINE_TABLE_SIZE;
    int i = (int)at;
    float f = at - (float)i;
    return m.sine[i] + (m.sine[i + 1] - m.sine[i]) * f;
}

// White noise, -1 to 1.
float Noise(unsigned& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (float)(int)state * (1.0f / 2147483648.0f);
}

// Coefficient of a one-pole low-pass at `hz`.
float LowPassCoefficient(float hz, float rate)
{
    return 1.0f - std::exp(-TWO_PI * hz / rate);
}

// Glide coefficient: the part of the distance that remains after one sample.
float GlideCoefficient(float seconds, float rate)
{
    return std::exp(-1.0f / (seconds * rate));
}

// Multiplier that brings white noise through a band of `hz` to an RMS of about 1.
float BandNormal(float hz, float rate)
{
    return std::sqrt(rate / hz);
}

struct Svf {
    float a1, a2, a3, k;
};

// A band-pass of unit gain at its centre (a trapezoidal state-variable filter).
Svf TuneBand(float hz, float q, float rate)
{
    float g = std::tan(PI * Clamp(hz, 10.0f, 0.45f * rate) / rate);
    Svf c;
    c.k = 1.0f / q;
    c.a1 = 1.0f / (1.0f + g * (g + c.k));
    c.a2 = g * c.a1;
    c.a3 = g * c.a2;
    return c;
}

float Band(SvfState& s, const Svf& c, float x)
{
    float v3 = x - s.ic2;
    float v1 = c.a1 * s.ic1 + c.a2 * v3;
    float v2 = s.ic2 + c.a2 * s.ic1 + c.a3 * v3;
    s.ic1 = 2.0f * v1 - s.ic1;
    s.ic2 = 2.0f * v2 - s.ic2;
    return c.k * v1;
}

void Glide(float& value, float target, float keep)
{
    value = target + (value - target) * keep;
}

// Ends a glide that has arrived, so that no value creeps through the
// denormals for ever.
void Settle(float& value, float target)
{
    if (std::fabs(value - target) < 1e-6f)
        value = target;
}

float SmoothStep(float from, float to, float x)
{
    float t = Clamp((x - from) / (to - from), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// What one block of frames is mixed with.
struct Block {
    float dt;
    // engines
    float whineHz, humHz, whineLevel, humLevel, roarLevel, roarLowLevel;
    Svf roar;
    float roarLowA, muffleA;
    // airflow and wheels
    Svf air, hiss;
    float airNormal, hissNormal;
    float wheelA, wheelNormal, bumpsHz;
    // targets
    float engineGain, airGain, wheelGain, cockpitMix;
    float absorbA, left, right, crashLeft, crashRight, master;
    // glides per sample
    float pauseKeep, levelKeep, listenerKeep, masterKeep, masterRiseKeep;
    // cues
    float friendHz[SOUND_FRIENDS], friendLeft[SOUND_FRIENDS], friendRight[SOUND_FRIENDS];
    float blastA, blastNormal, crashLowA, crashLowNormal;
    Svf crackle;
    float thudA, thudNormal;
};

// Starts a cue for each counter that moved; a restart also drops the spool
// to idle. The first scene's counters count as played.
void TakeCues(SoundMixer& m, const SoundScene& s)
{
    if (!m.primed) {
        m.primed = 1;
        m.gearMovesSeen = s.gearMoves;
        m.touchdownsSeen = s.touchdowns;
        m.crashesSeen = s.crashes;
        m.restartsSeen = s.restarts;
    }
    if (s.gearMoves != m.gearMovesSeen) {
        m.gearMovesSeen = s.gearMoves;
        m.gearTime = 0.0f;
        m.gearPhase = 0.0f;
        m.clunkPhase = 0.0f;
    }
    if (s.touchdowns != m.touchdownsSeen) {
        m.touchdownsSeen = s.touchdowns;
        m.touchTime = 0.0f;
        m.touchForce = Clamp(s.touchdownForce, 0.0f, 1.0f);
        m.thumpPhase = 0.0f;
        m.thud = 0.0f;
    }
    if (s.crashes != m.crashesSeen) {
        m.crashesSeen = s.crashes;
        m.crashTime = 0.0f;
        m.boomPhase = 0.0f;
        m.blast[0] = m.blast[1] = 0.0f;
        m.crashLow[0] = m.crashLow[1] = 0.0f;
        m.crackle = {0.0f, 0.0f};
    }
    if (s.restarts != m.restartsSeen) {
        m.restartsSeen = s.restarts;
        m.spool = 0.0f;
    }
}

Block PlanBlock(SoundMixer& m, const SoundScene& s, int frames)
{
    Block b;
    float rate = m.rate;
    b.dt = 1.0f / rate;
    float seconds = (float)frames * b.dt;
    int stopped = s.paused != 0;

    // The spool stands while the game is paused, as the engines' world does.
    if (!stopped) {
        float target = Clamp(s.spoolTarget, 0.0f, 1.0f);
        float tau = target > m.spool ? SPOOL_UP_SECONDS : SPOOL_DOWN_SECONDS;
        m.spool += (target - m.spool) * (1.0f - std::exp(-seconds / tau));
    }
    float spool = m.spool;

    // Engines: pitch follows the spool; the roar grows faster than the whine.
    b.whineHz = WHINE_IDLE_HZ + WHINE_RANGE_HZ * spool;
    b.humHz = HUM_IDLE_HZ + HUM_RANGE_HZ * spool;
    float whineShare = 0.55f - 0.2f * spool;
    float roarShare = 0.3f + 0.6f * spool;
    float humShare = 0.15f;
    float rms = ENGINE_IDLE_RMS + ENGINE_RANGE_RMS * std::pow(spool, ENGINE_LOUDNESS_CURVE);
    float scale = rms / std::sqrt(whineShare * whineShare + roarShare * roarShare + humShare * humShare);
    b.whineLevel = whineShare * scale;    // the partials sum to about RMS 1
    b.humLevel = humShare * scale * 1.26f; // two partials of a sine: RMS 0.79
    float roarHz = ROAR_IDLE_HZ + ROAR_RANGE_HZ * spool;
    b.roar = TuneBand(roarHz, ROAR_Q, rate);
    b.roarLevel = roarShare * scale * 0.75f * BandNormal(roarHz / ROAR_Q, rate);
    b.roarLowA = LowPassCoefficient(ROAR_LOW_HZ, rate);
    b.roarLowLevel = roarShare * scale * 0.65f * BandNormal(ROAR_LOW_HZ * 1.57f, rate);
    b.muffleA = LowPassCoefficient(COCKPIT_MUFFLE_HZ, rate);

    // Airflow.
    float speed = Clamp(std::fabs(s.speed), 0.0f, 1e6f);
    float airRatio = Clamp(speed / AIR_REFERENCE_SPEED, 0.0f, AIR_MAX_RATIO);
    float airHz = AIR_BASE_HZ + AIR_RANGE_HZ * airRatio;
    b.air = TuneBand(airHz, AIR_Q, rate);
    b.airNormal = BandNormal(airHz / AIR_Q, rate);
    b.hiss = TuneBand(airHz * 3.0f, 0.7f, rate);
    b.hissNormal = 0.4f * BandNormal(airHz * 3.0f / 0.7f, rate);

    // Wheels.
    float wheelRatio = Clamp(speed / WHEEL_REFERENCE_SPEED, 0.0f, WHEEL_MAX_RATIO);
    float wheelHz = WHEEL_BASE_HZ + WHEEL_HZ_PER_SPEED * Clamp(speed, 0.0f, 200.0f);
    b.wheelA = LowPassCoefficient(wheelHz, rate);
    b.wheelNormal = BandNormal(wheelHz * 1.57f, rate);
    b.bumpsHz = BUMPS_BASE_HZ + BUMPS_HZ_PER_SPEED * Clamp(speed, 0.0f, 200.0f);

    // Where the listener is.
    int cockpit = s.cockpit != 0;
    float gain = 1.0f, pan = 0.0f, absorbHz = ABSORB_TOP_HZ;
    if (!cockpit) {
        float d = Clamp(std::fabs(s.distance), 0.0f, 1e9f);
        gain = d > FULL_DISTANCE ? FULL_DISTANCE / d : 1.0f;
        if (d > ABSORB_START)
            absorbHz = ABSORB_TOP_HZ * std::pow(ABSORB_START / d, 0.8f);
        pan = Clamp(s.pan, -1.0f, 1.0f);
    }
    b.absorbA = LowPassCoefficient(absorbHz, rate);
    float angle = (pan + 1.0f) * (PI / 4.0f); // equal power: centre gives 0.707 each side
    b.left = gain * std::cos(angle);
    b.right = gain * std::sin(angle);
    float crashGain = gain > CRASH_FLOOR_GAIN ? gain : CRASH_FLOOR_GAIN;
    b.crashLeft = crashGain * std::cos(angle);
    b.crashRight = crashGain * std::sin(angle);
    b.cockpitMix = (float)cockpit;

    b.engineGain = stopped ? 0.0f : 1.0f;
    b.airGain = stopped ? 0.0f : AIR_RMS * std::pow(airRatio, 1.5f) * (cockpit ? COCKPIT_AIR_BOOST : 1.0f);
    b.wheelGain = stopped || !s.onGround ? 0.0f : WHEEL_RMS * wheelRatio;
    b.master = s.soundOn ? Clamp(s.volume, 0.0f, 1.0f) : 0.0f;

    b.pauseKeep = GlideCoefficient(PAUSE_GLIDE_SECONDS, rate);
    b.levelKeep = GlideCoefficient(LEVEL_GLIDE_SECONDS, rate);
    b.listenerKeep = GlideCoefficient(LISTENER_GLIDE_SECONDS, rate);
    b.masterKeep = GlideCoefficient(MASTER_FALL_SECONDS, rate);
    b.masterRiseKeep = GlideCoefficient(MASTER_RISE_SECONDS, rate);

    // Friends: a whine at the pitch of their throttle, heard where they are,
    // never as loud as the own engines at their loudest.
    for (int f = 0; f < SOUND_FRIENDS; f++) {
        b.friendLeft[f] = b.friendRight[f] = 0.0f;
        b.friendHz[f] = WHINE_IDLE_HZ;
        if (f >= s.friendCount || stopped)
            continue;
        const FriendEngine& e = s.friends[f];
        float fs = Clamp(e.spool, 0.0f, 1.0f);
        float d = Clamp(std::fabs(e.distance), 0.0f, 1e9f);
        float g = FRIEND_LEVEL * (ENGINE_IDLE_RMS + ENGINE_RANGE_RMS * fs) * (d > FULL_DISTANCE ? FULL_DISTANCE / d : 1.0f);
        float a = (Clamp(e.pan, -1.0f, 1.0f) + 1.0f) * (PI / 4.0f);
        b.friendHz[f] = WHINE_IDLE_HZ + WHINE_RANGE_HZ * fs;
        b.friendLeft[f] = g * std::cos(a);
        b.friendRight[f] = g * std::sin(a);
    }

    // Cues whose filters move with their time.
    float ct = m.crashTime > 0.0f ? m.crashTime : 0.0f;
    float blastHz = 200.0f + 6000.0f * std::exp(-ct / 0.2f);
    b.blastA = LowPassCoefficient(blastHz, rate);
    b.blastNormal = BandNormal(blastHz * 0.8f, rate);
    b.crashLowA = LowPassCoefficient(90.0f, rate);
    b.crashLowNormal = BandNormal(90.0f * 0.8f, rate);
    b.crackle = TuneBand(2200.0f, 3.0f, rate);
    b.thudA = LowPassCoefficient(250.0f, rate);
    b.thudNormal = BandNormal(250.0f * 1.57f, rate);
    return b;
}

float EngineSample(SoundMixer& m, const Block& b)
{
    // A slow random wander of the pitch keeps the tone alive.
    m.wobble += 0.0005f * (Noise(m.noise) - m.wobble);
    float bend = 1.0f + WHINE_WOBBLE * m.wobble * 40.0f;
    float whine = 0.0f;
    for (int e = 0; e < 2; e++) {
        float hz = b.whineHz * bend + (e ? SECOND_ENGINE_BEAT_HZ : 0.0f);
        m.whinePhase[e] = Fraction(m.whinePhase[e] + hz * b.dt);
        float p = m.whinePhase[e];
        float level = e ? 0.5f : 1.0f; // the second one softer: a gentle beat, not a tremolo
        whine += level * (Sine(m, p) + 0.45f * Sine(m, 2.0f * p) + 0.2f * Sine(m, 3.0f * p));
    }
    m.humPhase = Fraction(m.humPhase + b.humHz * b.dt);
    float hum = Sine(m, m.humPhase) + 0.5f * Sine(m, 2.0f * m.humPhase);
    float n = Noise(m.noise);
    float roar = Band(m.roar, b.roar, n);
    m.roarLow += b.roarLowA * (n - m.roarLow);
    return b.whineLevel * 0.9f * whine + b.humLevel * hum + b.roarLevel * roar + b.roarLowLevel * m.roarLow;
}

// Every friend's whine, panned: left into out[0], right into out[1].
void FriendSamples(SoundMixer& m, const Block& b, float out[2])
{
    out[0] = out[1] = 0.0f;
    for (int f = 0; f < SOUND_FRIENDS; f++) {
        if (m.friendLeft[f] == 0.0f && m.friendRight[f] == 0.0f && b.friendLeft[f] == 0.0f &&
            b.friendRight[f] == 0.0f)
            continue; // flying alone costs nothing
        Glide(m.friendLeft[f], b.friendLeft[f], b.listenerKeep);
        Glide(m.friendRight[f], b.friendRight[f], b.listenerKeep);
        if (m.friendLeft[f] == 0.0f && m.friendRight[f] == 0.0f)
            continue;
        m.friendPhase[f] = Fraction(m.friendPhase[f] + b.friendHz[f] * b.dt);
        float p = m.friendPhase[f];
        float v = Sine(m, p) + 0.45f * Sine(m, 2.0f * p) + 0.2f * Sine(m, 3.0f * p);
        out[0] += m.friendLeft[f] * v;
        out[1] += m.friendRight[f] * v;
    }
}

float AirSample(SoundMixer& m, const Block& b)
{
    float n = Noise(m.noise);
    return b.airNormal * Band(m.air, b.air, n) + b.hissNormal * Band(m.hiss, b.hiss, n);
}

float WheelSample(SoundMixer& m, const Block& b)
{
    float n = Noise(m.noise);
    m.wheelLow[0] += b.wheelA * (n - m.wheelLow[0]);
    m.wheelLow[1] += b.wheelA * (m.wheelLow[0] - m.wheelLow[1]);
    m.bumpPhase = Fraction(m.bumpPhase + b.bumpsHz * b.dt);
    float bumps = 0.7f + 0.3f * Sine(m, m.bumpPhase);
    return b.wheelNormal * 1.4f * m.wheelLow[1] * bumps;
}

// The gear's motor spins up, runs and winds down over a second, and the gear
// locks with a clunk at the end.
float GearSample(SoundMixer& m, const Block& b)
{
    float t = m.gearTime;
    if (t < 0.0f)
        return 0.0f;
    m.gearTime = t + b.dt;
    if (m.gearTime >= GEAR_SOUND_SECONDS)
        m.gearTime = -1.0f;
    float hz = 95.0f + 40.0f * SmoothStep(0.0f, 0.25f, t) - 25.0f * SmoothStep(0.8f, 1.0f, t);
    m.gearPhase = Fraction(m.gearPhase + hz * b.dt);
    float p = m.gearPhase;
    // A buzz of the motor's harmonics, and the gearbox's whine nine times up
    // that carries over the engines.
    float motor = Sine(m, p) + 0.5f * Sine(m, 2.0f * p) + 0.33f * Sine(m, 3.0f * p) + 0.25f * Sine(m, 4.0f * p) +
                  0.2f * Sine(m, 7.0f * p) + 0.3f * Sine(m, 9.0f * p);
    float env = SmoothStep(0.0f, 0.05f, t) * (1.0f - SmoothStep(0.85f, 1.0f, t));
    float out = 0.09f * env * motor;
    const float clunkAt = 0.97f;
    if (t >= clunkAt) {
        float c = t - clunkAt;
        m.clunkPhase = Fraction(m.clunkPhase + 80.0f * b.dt);
        out += 0.3f * std::exp(-c / 0.04f) * Sine(m, m.clunkPhase) + 0.12f * std::exp(-c / 0.006f) * Noise(m.noise);
    }
    return out;
}

// A thump of the struts and a short squeal of the tyres, both louder for a
// harder touch.
float TouchdownSample(SoundMixer& m, const Block& b)
{
    float t = m.touchTime;
    if (t < 0.0f)
        return 0.0f;
    m.touchTime = t + b.dt;
    if (m.touchTime >= TOUCHDOWN_SOUND_SECONDS)
        m.touchTime = -1.0f;
    float force = 0.5f + 0.5f * m.touchForce;
    float attack = Clamp(t / 0.002f, 0.0f, 1.0f);
    float thumpHz = 45.0f + 40.0f * std::exp(-t / 0.04f);
    m.thumpPhase = Fraction(m.thumpPhase + thumpHz * b.dt);
    float thump = 0.8f * std::exp(-t / 0.09f) * Sine(m, m.thumpPhase);
    m.thud += b.thudA * (Noise(m.noise) - m.thud);
    float thud = 0.2f * b.thudNormal * std::exp(-t / 0.03f) * m.thud;
    float vibrato = 1.0f + 0.012f * Sine(m, 17.0f * t);
    static const float SQUEAL_HZ[3] = {1220.0f, 1790.0f, 2530.0f};
    static const float SQUEAL_LEVEL[3] = {1.0f, 0.6f, 0.35f};
    float squeal = 0.0f;
    for (int i = 0; i < 3; i++) {
        m.squealPhase[i] = Fraction(m.squealPhase[i] + SQUEAL_HZ[i] * vibrato * b.dt);
        squeal += SQUEAL_LEVEL[i] * Sine(m, m.squealPhase[i]);
    }
    float squealEnv = Clamp(t / 0.01f, 0.0f, 1.0f) * std::exp(-t / 0.09f) * (0.3f + 0.7f * m.touchForce);
    return force * attack * (thump + thud) + 0.09f * squealEnv * squeal;
}

// A boom falling in pitch, a blast of noise darkening as it fades, a long
// rumble and crackle thinning out, over two and a half seconds.
float CrashSample(SoundMixer& m, const Block& b)
{
    float t = m.crashTime;
    if (t < 0.0f)
        return 0.0f;
    m.crashTime = t + b.dt;
    if (m.crashTime >= CRASH_SOUND_SECONDS)
        m.crashTime = -1.0f;
    float attack = Clamp(t / 0.003f, 0.0f, 1.0f);
    float boomHz = 30.0f + 60.0f * std::exp(-t / 0.3f);
    m.boomPhase = Fraction(m.boomPhase + boomHz * b.dt);
    float boom = 0.55f * std::exp(-t / 0.55f) * Sine(m, m.boomPhase);
    float n = Noise(m.noise);
    m.blast[0] += b.blastA * (n - m.blast[0]);
    m.blast[1] += b.blastA * (m.blast[0] - m.blast[1]);
    float blast = 0.35f * b.blastNormal * 1.4f * std::exp(-t / 0.3f) * m.blast[1];
    m.crashLow[0] += b.crashLowA * (n - m.crashLow[0]);
    m.crashLow[1] += b.crashLowA * (m.crashLow[0] - m.crashLow[1]);
    float rumble = 0.3f * b.crashLowNormal * 1.4f * std::exp(-t / 1.0f) * SmoothStep(0.0f, 0.05f, t) * m.crashLow[1];
    float density = 400.0f * std::exp(-t / 0.5f); // crackles a second
    float chance = 0.5f * (Noise(m.noise) + 1.0f);
    float kick = chance < density * b.dt ? Noise(m.noise) : 0.0f;
    float crackle = 0.8f * Band(m.crackle, b.crackle, kick);
    float fade = t < 2.0f ? 1.0f : 0.5f * (1.0f + std::cos(PI * Clamp((t - 2.0f) / 0.6f, 0.0f, 1.0f)));
    return attack * fade * (boom + blast + rumble + crackle);
}

float Limit(float x)
{
    float a = std::fabs(x);
    if (!(a > LIMIT_KNEE))
        return a == a ? x : 0.0f;
    float bent = LIMIT_KNEE + LIMIT_ROOM * std::tanh((a - LIMIT_KNEE) / LIMIT_ROOM);
    return x < 0.0f ? -bent : bent;
}

} // namespace

void StartMixer(SoundMixer& mixer, int rate)
{
    mixer = SoundMixer();
    mixer.rate = (float)(rate > 0 ? rate : 48000);
    for (int i = 0; i <= SINE_TABLE_SIZE; i++)
        mixer.sine[i] = (float)std::sin(2.0 * 3.14159265358979323846 * i / SINE_TABLE_SIZE);
    mixer.noise = 0x2545F491u;
    mixer.gearTime = -1.0f;
    mixer.touchTime = -1.0f;
    mixer.crashTime = -1.0f;
}

void MixSound(SoundMixer& m, const SoundScene& scene, float* out, int frames)
{
    TakeCues(m, scene);
    for (int done = 0; done < frames;) {
        int n = frames - done < BLOCK_FRAMES ? frames - done : BLOCK_FRAMES;
        Block b = PlanBlock(m, scene, n);
        for (int i = 0; i < n; i++) {
            Glide(m.engineGain, b.engineGain, b.pauseKeep);
            Glide(m.airGain, b.airGain, b.engineGain > 0.0f ? b.levelKeep : b.pauseKeep);
            Glide(m.wheelGain, b.wheelGain, b.engineGain > 0.0f ? b.levelKeep : b.pauseKeep);
            Glide(m.cockpitMix, b.cockpitMix, b.listenerKeep);
            Glide(m.left, b.left, b.listenerKeep);
            Glide(m.right, b.right, b.listenerKeep);
            Glide(m.crashLeft, b.crashLeft, b.listenerKeep);
            Glide(m.crashRight, b.crashRight, b.listenerKeep);
            Glide(m.master, b.master, b.master > m.master ? b.masterRiseKeep : b.masterKeep);

            float engine = EngineSample(m, b);
            m.muffle[0] += b.muffleA * (engine - m.muffle[0]);
            m.muffle[1] += b.muffleA * (m.muffle[0] - m.muffle[1]);
            engine += (m.muffle[1] - engine) * m.cockpitMix;
            float aircraft = m.engineGain * engine + m.airGain * AirSample(m, b) + m.wheelGain * WheelSample(m, b) +
                             GearSample(m, b) + TouchdownSample(m, b);
            m.absorb += b.absorbA * (aircraft - m.absorb);
            float crash = CrashSample(m, b);
            float friends[2];
            FriendSamples(m, b, friends);
            float* frame = out + 2 * (done + i);
            frame[0] = Limit(m.master * (m.absorb * m.left + crash * m.crashLeft + friends[0]));
            frame[1] = Limit(m.master * (m.absorb * m.right + crash * m.crashRight + friends[1]));
        }
        Settle(m.engineGain, b.engineGain);
        Settle(m.airGain, b.airGain);
        Settle(m.wheelGain, b.wheelGain);
        Settle(m.master, b.master);
        for (int f = 0; f < SOUND_FRIENDS; f++) {
            Settle(m.friendLeft[f], b.friendLeft[f]);
            Settle(m.friendRight[f], b.friendRight[f]);
        }
        done += n;
    }
}
