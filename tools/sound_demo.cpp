// Renders every sound of the game offline into a WAV file, through the mixer
// the game plays: idle, a roll at thrust 25, a pause, a take-off at full
// thrust, the gear, the outside views near and far, a landing, a crash and a
// restart. For listening and for spectrograms (sox FILE -n spectrogram).
//   sound-demo OUT.wav
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/sound/synth.h"

namespace {

const int RATE = 48000;
const int STEP_FRAMES = RATE / 100; // one 10 ms simulation step

void Put16(FILE* f, unsigned v)
{
    fputc((int)(v & 0xFF), f);
    fputc((int)((v >> 8) & 0xFF), f);
}

void Put32(FILE* f, unsigned v)
{
    Put16(f, v & 0xFFFF);
    Put16(f, v >> 16);
}

bool WriteWav(const char* path, const std::vector<int16_t>& samples)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    unsigned bytes = (unsigned)(samples.size() * 2);
    fputs("RIFF", f);
    Put32(f, 36 + bytes);
    fputs("WAVEfmt ", f);
    Put32(f, 16);
    Put16(f, 1); // PCM
    Put16(f, 2);
    Put32(f, RATE);
    Put32(f, RATE * 4);
    Put16(f, 4);
    Put16(f, 16);
    fputs("data", f);
    Put32(f, bytes);
    for (int16_t s : samples)
        Put16(f, (unsigned)(uint16_t)s);
    return fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: sound-demo OUT.wav\n");
        return 2;
    }
    static SoundMixer mixer;
    StartMixer(mixer, RATE);
    SoundScene s = {};
    s.cockpit = 1;
    s.soundOn = 1;
    s.volume = 0.8f;
    s.onGround = 1;
    std::vector<int16_t> out;
    std::vector<float> block(2 * STEP_FRAMES);
    float thrust = 0.0f, speed = 0.0f;
    for (int step = 0; step < 2300; step++) {
        float t = step / 100.0f;
        if (t >= 2.0f)
            thrust = 25.0f;
        s.paused = t >= 6.0f && t < 6.5f;
        if (t >= 7.0f)
            thrust = 100.0f;
        if (t >= 8.5f)
            s.onGround = 0;
        if (step == 900 || step == 1450)
            s.gearMoves++;
        if (t >= 10.0f)
            s.cockpit = 0, s.distance = 500.0f, s.pan = 0.0f;
        if (t >= 12.0f) {
            s.distance = 600.0f + (t - 12.0f) * 6000.0f;
            s.pan = -1.0f + (t - 12.0f);
        }
        if (t >= 14.0f)
            s.cockpit = 1, thrust = 30.0f;
        if (step == 1600)
            s.touchdowns++, s.touchdownForce = 0.6f, s.onGround = 1;
        if (step == 1800)
            s.crashes++;
        if (t >= 18.0f && step < 2100)
            s.paused = 1;
        if (step == 2100)
            s.restarts++, s.paused = 0, thrust = 0.0f, speed = 0.0f;
        if (!s.paused) {
            float target = 2.0f * thrust;
            speed += speed < target ? 0.5f : (speed > target ? -0.5f : 0.0f);
        }
        s.spoolTarget = thrust / 100.0f;
        s.speed = speed;
        MixSound(mixer, s, block.data(), STEP_FRAMES);
        for (float v : block)
            out.push_back((int16_t)(v * 32767.0f));
    }
    if (!WriteWav(argv[1], out)) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
