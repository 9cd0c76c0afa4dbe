#include "native/audio/gxtk_audio.h"

#include <unistd.h>

#include <cstdlib>

#include "runtime/errors.h"

gxtkAudio* gxtkAudio::audio;

namespace {

// The process that opened the device. A forked child has the device's
// memory but none of its mixing threads, whose locks may be held for good
// there: the child leaves the device alone.
pid_t deviceOwner;

// Every way the program ends goes through exit() or the end of main, so
// one handler closes the device on all of them.
void CloseAtExit() {
    if (gxtkAudio::audio && getpid() == deviceOwner) gxtkAudio::audio->Close();
}

}  // namespace

gxtkAudio::gxtkAudio() : device(nullptr), context(nullptr), channels{} {
    deviceOwner = getpid();
    static const bool closesAtExit = std::atexit(CloseAtExit) == 0;
    (void)closesAtExit;
    gc_assign(audio, this);
    OpenDevice();
    // Positions only give a direction; distance never attenuates.
    alDistanceModel(AL_NONE);
    channels[kMusicChannel].AL_Source();
}

// "Generic Hardware" and "Generic Software" are the names other platforms'
// OpenAL gives its devices; here they are a last try that usually fails.
ALCdevice* gxtkAudio::OpenAnyDevice() {
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (!opened) opened = alcOpenDevice("Generic Hardware");
    if (!opened) opened = alcOpenDevice("Generic Software");
    return opened;
}

void gxtkAudio::OpenDevice() {
    device = OpenAnyDevice();
    kpPrint(String("opening openal device"));
    if (!device) {
        kpPrint(String("OpenAl error: alcOpenDevice failed"));
        return;
    }
    context = alcCreateContext(device, nullptr);
    if (!context) {
        kpPrint(String("OpenAl error: alcCreateContext failed"));
        return;
    }
    if (!alcMakeContextCurrent(context)) kpPrint(String("OpenAl error: alcMakeContextCurrent failed"));
}

gxtkAudio::~gxtkAudio() {
    Close();
    if (audio == this) audio = nullptr;
}

// The context is made current for the deletions: another device's may be.
void gxtkAudio::Close() {
    if (context) alcMakeContextCurrent(context);
    music.reset();
    if (context && !retiredMusic.empty()) alDeleteBuffers(static_cast<ALsizei>(retiredMusic.size()), retiredMusic.data());
    retiredMusic.clear();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) alcCloseDevice(device);
    device = nullptr;
    if (reopening.valid()) {
        if (ALCdevice* opened = reopening.get()) alcCloseDevice(opened);
    }
}

// A sample that is still sounding, or waits for the device to come back,
// stays alive even when nothing else refers
// to it; an ended one may go, as its source can no longer restart by itself.
void gxtkAudio::mark() {
    for (gxtkChannel& channel : channels) {
        if (channel.state != 0 && (lost || channel.SourceState() != AL_STOPPED)) gc_mark(channel.sample);
    }
}

// Application suspend pauses what plays without touching the channel
// states, so Resume knows what to restart; game-paused channels stay paused.
int gxtkAudio::Suspend() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && channel.SourceState() == AL_PLAYING) alSourcePause(channel.source);
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && channel.SourceState() == AL_PAUSED) alSourcePlay(channel.source);
    }
    return 0;
}

// The music channel is never a donor.
ALuint gxtkAudio::TakeStoppedSource() {
    for (int index = 0; index < kMusicChannel; ++index) {
        gxtkChannel& donor = channels[index];
        if (donor.source == 0 || ChannelState(index) != 0) continue;
        ALuint source = donor.source;
        donor.source = 0;
        return source;
    }
    return 0;
}

gxtkChannel* gxtkAudio::Channel(int channel) {
    if (channel < 0 || channel >= kChannelCount) return nullptr;
    return &channels[channel];
}

ALuint gxtkAudio::SourceOf(int channel) {
    gxtkChannel* record = Channel(channel);
    return record ? record->AL_Source() : 0;
}
