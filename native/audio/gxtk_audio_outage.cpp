#include <AL/alext.h>

#include <algorithm>
#include <cstdio>

#include "host/kp_game.h"
#include "native/audio/gxtk_audio.h"
#include "native/audio/openal_settings.h"
#include "runtime/errors.h"

namespace {

// A quick device is there well within this; the game does not wait longer
// for a slow one at its start, and sound comes with the device.
constexpr std::chrono::milliseconds kFirstDeviceWait(500);
// The pause between attempts grows from the first to the longest, so a
// server that comes back is heard within about two seconds while one that
// stays away costs little.
constexpr std::chrono::milliseconds kFirstPause(250);
constexpr std::chrono::milliseconds kLongestPause(1500);

void Tell(const char* message) { std::fprintf(stderr, "Vantaroo: %s\n", message); }

std::string ConfigFolder() {
    return KpGame::_game ? KpGame::_game->SystemFilePath(String("brisko://data/openal")) : "";
}

}  // namespace

void gxtkAudio::OpenFirstDevice() {
    ApplyOpenALSettings(ConfigFolder());
    kpPrint(String("opening openal device"));
    opener.Start();
    bool answered = opener.Wait(kFirstDeviceWait);
    ALCdevice* opened = answered ? TakeAttempt() : nullptr;
    if (answered && !opened) kpPrint(String("OpenAl error: alcOpenDevice failed"));
    if (opened && Adopt(opened, true)) {
        Restore();
        return;
    }
    lost = true;
    Tell("no sound device yet; trying again while the game runs");
    reopenPause = kFirstPause;
    nextReopen = std::chrono::steady_clock::now() + reopenPause;
}

// The environment goes back to the player's once the library has read it.
ALCdevice* gxtkAudio::TakeAttempt() {
    gxtkDeviceOpener::Result result = opener.Take();
    if (gxtkDeviceOpener::LibraryStarted()) RestoreEnvironmentAfterOpenAL();
    if (result.serverGoneAsItStarted) {
        Tell("the sound server went away as sound started; start the game again for sound");
    }
    return result.device;
}

bool gxtkAudio::Adopt(ALCdevice* opened, bool report) {
    ALCcontext* made = alcCreateContext(opened, nullptr);
    if (!made) {
        if (report) kpPrint(String("OpenAl error: alcCreateContext failed"));
    } else if (!alcMakeContextCurrent(made)) {
        if (report) kpPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        alcDestroyContext(made);
        made = nullptr;
    }
    if (!made) {
        alcCloseDevice(opened);
        return false;
    }
    device = opened;
    context = made;
    ++audioDevicesOpen;
    return true;
}

void gxtkAudio::WatchDevice() {
    if (lost) {
        TryReopen();
    } else if (context && !Connected()) {
        LoseDevice();
    }
}

bool gxtkAudio::Connected() const {
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

// Looping and paused effects and the streamed tune keep their states, to go
// on once a device is back; a one-shot's sound is over. The sources and
// buffers go with the device.
void gxtkAudio::LoseDevice() {
    if (music) tune.heardFrame = music->HeardFrame();
    music.reset();
    for (int index = 0; index < kChannelCount; ++index) {
        gxtkChannel& record = channels[index];
        record.source = 0;
        bool kept = record.flags != 0 || record.state == 2 || (index == kMusicChannel && !tune.path.empty());
        if (!kept) record.state = 0;
    }
    Close();
    discarded.clear();
    ++audioGeneration;
    lost = true;
    Tell("the sound device is gone; trying again while the game runs");
    reopenPause = kFirstPause;
    nextReopen = std::chrono::steady_clock::now();
}

// One attempt at a time, off the main thread; the pause grows while the
// attempts fail.
void gxtkAudio::TryReopen() {
    if (opener.Idle()) {
        if (std::chrono::steady_clock::now() < nextReopen) return;
        opener.Start();
        return;
    }
    if (!opener.Wait(std::chrono::milliseconds(0))) return;
    ALCdevice* opened = TakeAttempt();
    if (opened && Adopt(opened, false)) {
        Restore();
        Tell("sound is back");
        return;
    }
    reopenPause = std::min(reopenPause * 2, kLongestPause);
    nextReopen = std::chrono::steady_clock::now() + reopenPause;
}

// What the game has playing is heard on the new device.
void gxtkAudio::Restore() {
    lost = false;
    alDistanceModel(AL_NONE);
    channels[kMusicChannel].AL_Source();
    for (gxtkChannel& record : channels) RestoreChannel(record);
    RestoreTune();
}

// A sound paused before or during the outage goes on from where it was
// paused; a paused one is only made ready to resume.
void gxtkAudio::RestoreChannel(gxtkChannel& record) {
    if (record.state == 0 || !record.sample || !record.AL_Source()) return;
    StartSample(record, record.sample, record.flags, false);
    if (record.pausedAt > 0) alSourcei(record.source, AL_SAMPLE_OFFSET, record.pausedAt);
    if (record.state == 1) alSourcePlay(record.source);
}

// The tune goes on from about where it was heard last; a paused one waits
// for its resume as ever.
void gxtkAudio::RestoreTune() {
    gxtkChannel& record = channels[kMusicChannel];
    if (record.state == 0 || tune.path.empty()) return;
    bool fromTheTop = tune.heardFrame == 0;
    if (!record.AL_Source() || !StartStream(tune.heardFrame, tune.loop && fromTheTop)) record.state = 0;
}
