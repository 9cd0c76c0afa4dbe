#include "native/audio/gxtk_audio.h"

#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>

#include "native/audio/worker_threads.h"
#include "runtime/errors.h"

gxtkAudio* gxtkAudio::audio;

namespace {

// The process that opened the device. A forked child has the device's
// memory but none of its mixing threads, whose locks may be held for good
// there: the child leaves the device alone.
pid_t deviceOwner;

// A sound server that has stopped answering can hold a device's close for
// good; the program then ends without waiting for it.
constexpr std::chrono::milliseconds kLongestClose(500);

struct Closing {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

// True when the device closed within the time.
bool ClosedInTime(gxtkAudio* audio) {
    auto closing = std::make_shared<Closing>();
    try {
        RunOnWorkerThread([audio, closing] {
            audio->Close();
            std::lock_guard<std::mutex> lock(closing->mutex);
            closing->done = true;
            closing->ended.notify_all();
        });
    } catch (const std::system_error&) {
        audio->Close();
        return true;
    }
    std::unique_lock<std::mutex> lock(closing->mutex);
    return closing->ended.wait_for(lock, kLongestClose, [&closing] { return closing->done; });
}

// Every way the program ends goes through exit() or the end of main, so
// one handler closes the device on all of them. One whose close hangs ends
// the program at once with its status, what it printed written out, and
// without the library's own end, which would wait on the same server.
void CloseAtExit(int status, void*) {
    if (!gxtkAudio::audio || getpid() != deviceOwner || ClosedInTime(gxtkAudio::audio)) return;
    std::fflush(nullptr);
    _exit(status);
}

}  // namespace

gxtkAudio::gxtkAudio() : device(nullptr), context(nullptr), channels{} {
    deviceOwner = getpid();
    static const bool closesAtExit = on_exit(CloseAtExit, nullptr) == 0;
    (void)closesAtExit;
    gc_assign(audio, this);
    OpenFirstDevice();
    // The tune's worker thread waits from now on, so the update that starts
    // the first tune does not start it.
    RunOnWorkerThread([] {});
}

gxtkAudio::~gxtkAudio() {
    Close();
    if (audio == this) audio = nullptr;
}

// The context is made current for the deletions: another device's may be.
// An attempt to open a device is left to itself: the end never waits for
// the sound server.
void gxtkAudio::Close() {
    opener.Abandon();
    if (context) alcMakeContextCurrent(context);
    music.reset();
    if (context && !retiredMusic.empty()) alDeleteBuffers(static_cast<ALsizei>(retiredMusic.size()), retiredMusic.data());
    retiredMusic.clear();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) {
        alcCloseDevice(device);
        --audioDevicesOpen;
    }
    device = nullptr;
}

// A sample that is still sounding, or waits for the device to come back,
// stays alive even when nothing else refers to it; so do looping and paused
// ones, whose sources a lost device stops. An ended one-shot may go, as its
// source can no longer restart by itself; its channel lets go of it, so
// that no later mark (the device lost, or another one current) finds it
// gone.
void gxtkAudio::mark() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 0) continue;
        bool kept = lost || channel.flags != 0 || channel.state == 2;
        if (kept || channel.SourceState() != AL_STOPPED) {
            gc_mark(channel.sample);
        } else {
            channel.sample = nullptr;
        }
    }
}

// Application suspend pauses what plays without touching the channel
// states, so Resume knows what to restart; game-paused channels stay paused.
int gxtkAudio::Suspend() {
    if (lost) return 0;
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && channel.SourceState() == AL_PLAYING) alSourcePause(channel.source);
    }
    return 0;
}

int gxtkAudio::Resume() {
    if (lost) return 0;
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
    return record && !lost ? record->AL_Source() : 0;
}
