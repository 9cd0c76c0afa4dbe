// The device against a real PulseAudio server that the test starts, kills
// and starts again, in a runtime folder of its own.
#include <signal.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

#include "tests/audio/audio_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEffect = 3;
constexpr int kPaused = 5;
constexpr double kEffectPitch = 440;
constexpr double kTunePitch = 660;
constexpr int kRecordHertz = 44100;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A PulseAudio server with a null sink, whose monitor the test records.
class SoundServer {
public:
    // Points this process's clients at the server's own folders.
    SoundServer() {
        setenv("XDG_RUNTIME_DIR", folder.path.c_str(), 1);
        setenv("PULSE_RUNTIME_PATH", folder.File("pulse").c_str(), 1);
        setenv("HOME", folder.path.c_str(), 1);
        unsetenv("PULSE_SERVER");
    }

    ~SoundServer() { Kill(); }

    // False when no server can be started here.
    bool Start() {
        if (std::system("pulseaudio -n -L module-null-sink -L 'module-native-protocol-unix auth-anonymous=1' --exit-idle-time=-1 "
                        "--daemonize=yes --use-pid-file=yes --log-target=stderr 2>/dev/null") != 0) {
            return false;
        }
        for (auto end = Clock::now() + std::chrono::seconds(20); Clock::now() < end;) {
            if (std::system("pactl info >/dev/null 2>&1") == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Kill() {
        pid_t pid = 0;
        std::ifstream(folder.File("pulse/pid")) >> pid;
        if (pid <= 0 || kill(pid, SIGKILL) != 0) return;
        for (auto end = Clock::now() + std::chrono::seconds(20); Clock::now() < end && kill(pid, 0) == 0;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::remove(folder.File("pulse/pid").c_str());
    }

    // What the sink plays for `seconds`, as mono 16-bit samples, recorded
    // while `update` runs as the game's updates do.
    template <class Update> std::vector<std::int16_t> Record(double seconds, Update update) {
        std::string command = "timeout -s INT " + std::to_string(seconds) +
                              " parec -d null.monitor --latency-msec=20 --raw --format=s16le --channels=1 --rate=" +
                              std::to_string(kRecordHertz) + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return {};
        std::vector<std::int16_t> samples;
        std::thread reader([&] {
            std::int16_t chunk[1024];
            while (std::size_t got = std::fread(chunk, sizeof chunk[0], 1024, pipe)) {
                samples.insert(samples.end(), chunk, chunk + got);
            }
        });
        for (auto end = Clock::now() + std::chrono::duration<double>(seconds + 1); Clock::now() < end;) {
            update();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        reader.join();
        pclose(pipe);
        if (samples.empty()) std::fprintf(stderr, "%s\n", folder.Read("parec.log").c_str());
        return samples;
    }

private:
    TempFolder folder;
};

// The amplitude of the recording's component at `pitch`.
double Amplitude(const std::vector<std::int16_t>& samples, double pitch) {
    double real = 0, imaginary = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double angle = 2 * M_PI * pitch * static_cast<double>(i) / kRecordHertz;
        real += samples[i] * std::cos(angle);
        imaginary += samples[i] * std::sin(angle);
    }
    return samples.empty() ? 0 : 2 * std::hypot(real, imaginary) / static_cast<double>(samples.size());
}

std::unique_ptr<SoundServer> server;
bool serverStarted = false;

class SoundServerTest : public AudioTest {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<SoundServer>();
        serverStarted = server->Start();
        if (serverStarted) AudioTest::SetUpTestSuite();
    }

    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        if (!serverStarted) GTEST_SKIP() << "no PulseAudio server could be started here";
        AudioTest::SetUp();
    }

    // One update as the game's: the music, and the states it reads.
    static double TimedUpdate() {
        Clock::time_point start = Clock::now();
        device()->UpdateMusic();
        EXPECT_EQ(device()->ChannelState(kEffect), 1) << "the looping effect goes on";
        EXPECT_EQ(device()->MusicState(), 1) << "the tune goes on";
        return SecondsSince(start);
    }

    // Updates until `done` or twenty seconds; the longest update.
    template <class Done> static double UpdateUntil(Done done) {
        double longest = 0;
        for (auto end = Clock::now() + std::chrono::seconds(20); Clock::now() < end && !done();) {
            longest = std::max(longest, TimedUpdate());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return longest;
    }

    static void ExpectBothHeard(const char* when) {
        std::vector<std::int16_t> heard = server->Record(2.0, [] { TimedUpdate(); });
        ASSERT_GT(heard.size(), static_cast<std::size_t>(kRecordHertz / 4)) << when;
        EXPECT_GT(Amplitude(heard, kEffectPitch), 500) << "the effect " << when;
        EXPECT_GT(Amplitude(heard, kTunePitch), 500) << "the tune " << when;
    }
};

TEST_F(SoundServerTest, SoundComesBackAfterTheServerRestarts) {
    Tone effect;
    effect.pitch = kEffectPitch;
    gxtkSample* sample = LoadWave("effect.wav", effect);
    ASSERT_NE(sample, nullptr);
    device()->SetVolume(kEffect, 0.8f);
    ASSERT_EQ(device()->PlaySample(sample, kEffect, 1), 0);
    Tone tune;
    tune.pitch = kTunePitch;
    tune.seconds = 8;
    ASSERT_TRUE(WriteOgg(folder.File("tune.ogg"), tune));
    ASSERT_EQ(device()->PlayMusic(String(folder.File("tune.ogg").c_str()), 1), 0);
    ExpectBothHeard("before the server goes");
    long long heardBefore = device()->music->HeardFrame();
    EXPECT_GT(heardBefore, 0);
    Tone longEffect;
    longEffect.seconds = 6;
    ASSERT_EQ(device()->PlaySample(LoadWave("paused.wav", longEffect), kPaused, 0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    device()->PauseChannel(kPaused);
    ALint pausedAt = SourceInt(kPaused, AL_SAMPLE_OFFSET);
    EXPECT_GT(pausedAt, 0);

    server->Kill();
    double longest = UpdateUntil([] { return device()->Lost(); });
    ASSERT_TRUE(device()->Lost());
    Clock::time_point away = Clock::now();
    longest = std::max(longest, UpdateUntil([&] { return SecondsSince(away) > 2.5; }));
    EXPECT_TRUE(device()->Lost()) << "no device while the server is away";
    EXPECT_LT(longest, 0.1) << "updates run on while the server is away";

    ASSERT_TRUE(server->Start());
    UpdateUntil([] { return !device()->Lost(); });
    ASSERT_FALSE(device()->Lost()) << "the device is opened again";
    ASSERT_NE(device()->music, nullptr);
    EXPECT_GE(device()->music->HeardFrame(), heardBefore) << "the tune goes on from about where it was";
    EXPECT_EQ(SourceInt(kEffect, AL_LOOPING), AL_TRUE);
    ALfloat gain = 0;
    alGetSourcef(Source(kEffect), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.8f);
    EXPECT_EQ(device()->ChannelState(kPaused), 2) << "the paused effect stays paused";
    EXPECT_NE(SourceInt(kPaused, AL_SOURCE_STATE), AL_PLAYING);
    device()->ResumeChannel(kPaused);
    EXPECT_GE(SourceInt(kPaused, AL_SAMPLE_OFFSET), pausedAt) << "and goes on from where it was paused";
    device()->StopChannel(kPaused);
    ExpectBothHeard("after the server is back");
}

}  // namespace
