#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/audio/sound_files.h"
#include "tests/host/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

struct ProbeRun {
    std::string output;
    int status = -1;
    // From the probe's last line to its end.
    double endingSeconds = 0;
};

// The probe runs with its own OpenAL drivers and configuration; its error
// output, where OpenAL complains, goes to `errors` when one is named.
ProbeRun RunProbe(const std::string& environment, const std::string& sound, const char* volume,
                  const std::string& end = "return", const std::string& errors = "") {
    std::string command = environment + " " AUDIO_PROBE " '" + sound + "' " + volume + " " + end;
    if (!errors.empty()) command += " 2>'" + errors + "'";
    ProbeRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char chunk[256];
    Clock::time_point finished = Clock::now();
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) {
        run.output.append(chunk, got);
        finished = Clock::now();
    }
    int status = pclose(pipe);
    run.endingSeconds = std::chrono::duration<double>(Clock::now() - finished).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::uint32_t Number(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The 16-bit samples of a recording's data chunk, channels interleaved.
std::vector<std::int16_t> RecordedSamples(const std::string& wave) {
    std::vector<std::int16_t> samples;
    std::size_t data = wave.find("data", 12);
    if (data == std::string::npos || data + 8 > wave.size()) return samples;
    std::size_t end = std::min(wave.size(), data + 8 + Number(wave, data + 4, 4));
    for (std::size_t at = data + 8; at + 1 < end; at += 2) {
        samples.push_back(static_cast<std::int16_t>(Number(wave, at, 2)));
    }
    return samples;
}

class AudioOutput : public ::testing::Test {
protected:
    // Records the probe's output as 16-bit stereo at 44100 Hz.
    std::vector<std::int16_t> Record(const Tone& tone, const char* volume) {
        std::string sound = folder.Write("effect.wav", WaveBytes(tone));
        std::string config = folder.Write("alsoft.conf",
                                          "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                                          "frequency = 44100\ndither = false\n[wave]\nfile = " +
                                              folder.File("out.wav") + "\n");
        ProbeRun run = RunProbe("ALSOFT_DRIVERS=wave ALSOFT_CONF='" + config + "'", sound, volume);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.output, "opening openal device\nprobe finished\n");
        std::string wave = folder.Read("out.wav");
        if (wave.size() < 44) {
            ADD_FAILURE() << "no recording";
            return {};
        }
        EXPECT_EQ(Number(wave, 22, 2), 2u) << "stereo";
        EXPECT_EQ(Number(wave, 24, 4), 44100u);
        return RecordedSamples(wave);
    }

    TempFolder folder;
};

constexpr int kLoud = 2000;

TEST_F(AudioOutput, PlayedEffectIsHeardForItsLength) {
    Tone effect;
    effect.seconds = 0.3;
    std::vector<std::int16_t> samples = Record(effect, "1");
    std::size_t first = samples.size(), last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < kLoud) continue;
        first = std::min(first, i);
        last = i;
    }
    ASSERT_LT(first, last) << "nothing loud was recorded";
    double heardSeconds = static_cast<double>(last - first) / 2 / 44100;
    EXPECT_NEAR(heardSeconds, 0.3, 0.03);
}

TEST_F(AudioOutput, VolumeZeroIsSilent) {
    Tone effect;
    effect.seconds = 0.3;
    std::vector<std::int16_t> samples = Record(effect, "0");
    ASSERT_GT(samples.size(), 2u * 44100 * 3 / 10) << "the recording runs in real time";
    int loudest = 0;
    for (std::int16_t sample : samples) loudest = std::max(loudest, std::abs(sample));
    EXPECT_LE(loudest, 1);
}

TEST_F(AudioOutput, WithoutADeviceTheProgramRunsSilently) {
    std::string sound = folder.Write("effect.wav", WaveBytes(Tone()));
    ProbeRun run = RunProbe("ALSOFT_DRIVERS=nonexistent", sound, "1");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "opening openal device\nOpenAl error: alcOpenDevice failed\nprobe finished\n");
}

// However the program ends, the device is closed on the way out, the tune's
// worker first, and the end is not held up by it.
TEST_F(AudioOutput, EveryEndClosesTheDevice) {
    Tone tune;
    tune.seconds = 0.4;
    std::string sound = folder.File("tune.ogg");
    ASSERT_TRUE(WriteOgg(sound, tune));
    struct Case {
        const char* end;
        int status;
    };
    for (Case c : {Case{"return", 0}, Case{"quiet", 0}, Case{"fatal", 255}}) {
        std::string errors = std::string("errors-") + c.end;
        ProbeRun run = RunProbe("ALSOFT_DRIVERS=null", sound, "0", c.end, folder.File(errors));
        EXPECT_EQ(run.status, c.status) << c.end;
        EXPECT_EQ(run.output, "opening openal device\nprobe finished\n") << c.end;
        EXPECT_EQ(folder.Read(errors).find("not closed"), std::string::npos) << c.end << ": " << folder.Read(errors);
        EXPECT_LT(run.endingSeconds, 2.0) << c.end;
    }
}

// A forked child that exits leaves its parent's device alone: it has none
// of the mixer's threads, whose locks it could wait on for good.
TEST_F(AudioOutput, ForkedChildrenEndWithoutTheDevice) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "under the address sanitizer a forked child's own end can hang, fix or not";
#endif
    Tone tune;
    tune.seconds = 0.4;
    std::string sound = folder.File("tune.ogg");
    ASSERT_TRUE(WriteOgg(sound, tune));
    ProbeRun run = RunProbe("ALSOFT_DRIVERS=null", sound, "0", "forked", folder.File("errors"));
    EXPECT_EQ(run.status, 0) << "a forked child did not end";
}

}  // namespace
