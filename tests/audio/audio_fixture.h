#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "framework/audio/audio.h"
#include "host/kp_glfw_game.h"
#include "tests/audio/sound_files.h"
#include "tests/host/temp_folder.h"

// The test program's module globals: the device (through the audio module)
// and sounds a test keeps.
inline c_Sound* testSound;

inline void markAudioTestRoots() {
    kp_audio_mark();
    gc_mark(testSound);
}

// One device for the whole test program, as in the game; every test starts
// with all channels stopped.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static KpGlfwGame host;
        static bool started = [] {
            gc_add_roots(markAudioTestRoots);
            gc_init2();
            kp_audio_init();
            kp_audio_SetAudioDevice(new gxtkAudio);
            // A slow machine may take a moment more to open the device.
            for (int tries = 0; tries < 2000 && device()->Lost(); ++tries) {
                device()->UpdateMusic();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return true;
        }();
        (void)started;
    }

    void SetUp() override {
        ASSERT_NE(device()->context, nullptr) << "the null driver gives a device";
        for (int channel = 0; channel < gxtkAudio::kChannelCount; ++channel) device()->StopChannel(channel);
        testSound = nullptr;
    }

    // A tune still decoding ends with the test, so no worker outlives it.
    void TearDown() override {
        device()->StopMusic();
        testSound = nullptr;
    }

    static gxtkAudio* device() { return kp_audio_device; }

    std::string WriteWave(const std::string& name, const Tone& tone) { return folder.Write(name, WaveBytes(tone)); }

    gxtkSample* LoadWave(const std::string& name, const Tone& tone) {
        return device()->LoadSample(String(WriteWave(name, tone).c_str()));
    }

    static ALuint Source(int channel) { return device()->channels[channel].source; }

    static ALint SourceInt(int channel, ALenum parameter) {
        ALint value = -1;
        alGetSourcei(Source(channel), parameter, &value);
        return value;
    }

    static ALint BufferInt(ALuint buffer, ALenum parameter) {
        ALint value = -1;
        alGetBufferi(buffer, parameter, &value);
        return value;
    }

    // OpenAL's own view, without the lazy channel-state update.
    static bool WaitUntilSourceStops(int channel) {
        for (int tries = 0; tries < 400; ++tries) {
            if (SourceInt(channel, AL_SOURCE_STATE) == AL_STOPPED) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // Updates the music as the game does every update, until `done` or
    // twenty seconds have passed: a long tune takes hundreds of updates to
    // queue, one piece an update.
    template <class Done> static bool UpdateMusicUntil(Done done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            device()->UpdateMusic();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // Until the music stream has queued the whole tune.
    static bool WaitUntilTuneQueued() {
        return UpdateMusicUntil([] { return device()->music && device()->music->Complete(); });
    }

    // Until the tune is heard.
    static bool WaitUntilMusicSounds() {
        return UpdateMusicUntil(
            [] { return SourceInt(gxtkAudio::kMusicChannel, AL_SOURCE_STATE) == AL_PLAYING; });
    }

    static bool IsDiscarded(ALuint buffer) {
        return std::find(discarded.begin(), discarded.end(), buffer) != discarded.end();
    }

    // Two full cycles put everything unreachable on the free list; the flush
    // runs its destructors.
    static void CollectAll() {
        gc_collect_all();
        gc_collect_all();
        gc_flush_free(INT_MAX);
    }

    TempFolder folder;
};
