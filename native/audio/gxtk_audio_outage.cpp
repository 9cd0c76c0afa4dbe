#include <AL/alext.h>

#include <system_error>

#include "native/audio/gxtk_audio.h"

namespace {

// Opening a device tries the sound server, so it is tried on a worker and
// no more often than this.
constexpr std::chrono::seconds kReopenPause(1);

}  // namespace

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
    nextReopen = std::chrono::steady_clock::now();
}

void gxtkAudio::TryReopen() {
    if (!reopening.valid()) {
        if (std::chrono::steady_clock::now() < nextReopen) return;
        nextReopen = std::chrono::steady_clock::now() + kReopenPause;
        try {
            reopening = std::async(std::launch::async, OpenAnyDevice);
        } catch (const std::system_error&) {
        }
        return;
    }
    if (reopening.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    if (ALCdevice* opened = reopening.get()) Restore(opened);
}

void gxtkAudio::Restore(ALCdevice* opened) {
    ALCcontext* made = alcCreateContext(opened, nullptr);
    if (!made || !alcMakeContextCurrent(made)) {
        if (made) alcDestroyContext(made);
        alcCloseDevice(opened);
        return;
    }
    device = opened;
    context = made;
    lost = false;
    alDistanceModel(AL_NONE);
    for (gxtkChannel& record : channels) RestoreChannel(record);
    RestoreTune();
}

// A paused effect is made ready to resume, not started.
void gxtkAudio::RestoreChannel(gxtkChannel& record) {
    if (record.state == 0 || !record.sample || !record.AL_Source()) return;
    StartSample(record, record.sample, record.flags, record.state == 1);
}

// The tune goes on from about where it was heard last; a paused one waits
// for its resume as ever.
void gxtkAudio::RestoreTune() {
    gxtkChannel& record = channels[kMusicChannel];
    if (record.state == 0 || tune.path.empty()) return;
    bool fromTheTop = tune.heardFrame == 0;
    if (!record.AL_Source() || !StartStream(tune.heardFrame, tune.loop && fromTheTop)) record.state = 0;
}
