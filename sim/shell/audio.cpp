// Every SDL audio call of the simulator: the playback device and the callback
// that mixes the newest scene into it.
#include "sim/shell/audio.h"

#include <SDL.h>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <thread>

#include "sim/shell/sound_feed.h"
#include "sim/sound/mailbox.h"
#include "sim/sound/synth.h"

static const int AUDIO_RATE = 48000;          // asked for; a device of another rate keeps its own
static const int AUDIO_BUFFER_FRAMES = 1024;  // about 21 ms at 48 kHz: a change is heard soon after
static const int MIX_CHUNK_FRAMES = 256;

// Touched by the audio thread only, once the device runs.
static SDL_AudioDeviceID device;
static SoundMixer mixer;
static float mixed[2 * MIX_CHUNK_FRAMES];

// SDL's audio thread: takes the newest scene without waiting and mixes.
// Nothing here locks, allocates, prints or touches a file.
static void SDLCALL FillAudio(void* /*user*/, Uint8* stream, int bytes)
{
    const SoundScene& scene = TakeScene(soundMailbox);
    Sint16* out = (Sint16*)stream;
    int frames = bytes / (int)(2 * sizeof(Sint16));
    while (frames > 0) {
        int n = frames < MIX_CHUNK_FRAMES ? frames : MIX_CHUNK_FRAMES;
        MixSound(mixer, scene, mixed, n);
        for (int i = 0; i < 2 * n; i++)
            out[i] = (Sint16)std::lrint(mixed[i] * 32767.0f);
        out += 2 * n;
        frames -= n;
    }
}

extern "C" {
typedef void (*AlsaErrorHandler)(const char* file, int line, const char* function, int err, const char* format, ...);
static void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
}

// ALSA's library prints its configuration errors straight to standard error,
// eight lines on a machine without a sound card; the one line SDL's error
// makes below says the same.
static void QuietAlsa()
{
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || strcmp(driver, "alsa") != 0)
        return;
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!alsa)
        return;
    auto setHandler = (int (*)(AlsaErrorHandler))dlsym(alsa, "snd_lib_error_set_handler");
    if (setHandler)
        setHandler(IgnoreAlsaError);
    dlclose(alsa);
}

static void NoSound()
{
    fprintf(stderr, "No sound (%s): the game flies silent\n", SDL_GetError());
}

// Trying the device again: every few seconds while it is gone, and at once
// on F9. The open runs on a thread of its own, since a sound server that is
// starting can keep it tens of milliseconds and the frames must not wait.
static const int RETRY_SECONDS = 3;
static bool soundWanted;            // the device was asked for (StartSound ran)
static bool soundLost;              // gone, or never opened: being tried again
static int secondsToRetry;
static std::thread opener;
static std::atomic<bool> openerDone;
static SDL_AudioDeviceID openedDevice; // the opener's result, read once it is done
static SDL_AudioDeviceID goneDevice;   // a device that went away, for the opener to close
static int openedRate;

// The opener's thread: closes a device that went away (which waits for its
// audio thread, tens of milliseconds with a sound server gone), then opens
// the default device as StartSound does, not yet playing.
static void OpenDevice()
{
    if (goneDevice != 0) {
        SDL_CloseAudioDevice(goneDevice);
        goneDevice = 0;
    }
    SDL_AudioSpec want = {};
    SDL_AudioSpec have = {};
    want.freq = AUDIO_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = AUDIO_BUFFER_FRAMES;
    want.callback = FillAudio;
    openedDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    openedRate = have.freq;
    openerDone = true;
}

// Starts the opener unless one runs.
static void TryOpening()
{
    if (opener.joinable())
        return;
    openerDone = false;
    opener = std::thread(OpenDevice);
}

// The opener finished: the device plays from here, or the next try waits.
static void TakeOpened()
{
    opener.join();
    if (openedDevice == 0) {
        secondsToRetry = RETRY_SECONDS;
        return;
    }
    device = openedDevice;
    StartMixer(mixer, openedRate);
    SDL_PauseAudioDevice(device, 0);
    soundLost = false;
    fprintf(stderr, "Sound is back\n");
}

// The device went away (its server stopped, its card was pulled) or could
// not be had: one line, then the tries begin.
static void LoseSound(const char* why)
{
    fprintf(stderr, "Sound lost (%s): trying again every %d s and on F9\n", why, RETRY_SECONDS);
    soundLost = true;
    secondsToRetry = RETRY_SECONDS;
}

void WatchSound()
{
    if (!soundWanted)
        return;
    if (opener.joinable()) {
        if (openerDone)
            TakeOpened();
        return;
    }
    if (!soundLost) {
        // SDL marks a device that is gone as stopped. Its removal event is
        // not watched: the pad's step drains SDL's event queue.
        if (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED)
            return;
        goneDevice = device;
        device = 0;
        LoseSound("the device went away");
        TryOpening();
        return;
    }
    if (--secondsToRetry <= 0)
        TryOpening();
}

void RetrySoundNow()
{
    if (soundWanted && soundLost)
        TryOpening();
}

bool StartSound()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // What a sound server's mixer shows for the game.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Pelorin");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Flight");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        NoSound();
        return false;
    }
    QuietAlsa();
    // The game ends with exit() from its keys: the audio thread is stopped
    // then, before the process goes, and a recording driver closes its file.
    atexit(StopSound);
    soundWanted = true;
    OpenDevice();
    if (openedDevice == 0) {
        NoSound();
        // A sound server that starts later is found by the tries.
        soundLost = true;
        secondsToRetry = RETRY_SECONDS;
        return false;
    }
    device = openedDevice;
    StartMixer(mixer, openedRate);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void StopSound()
{
    if (opener.joinable())
        opener.join();
    if (goneDevice != 0)
        SDL_CloseAudioDevice(goneDevice);
    goneDevice = 0;
    if (openedDevice != 0 && openedDevice != device)
        SDL_CloseAudioDevice(openedDevice);
    soundWanted = false;
    if (device != 0)
        SDL_CloseAudioDevice(device);
    device = 0;
    openedDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
