#include <filesystem>

#include "tests/audio/audio_fixture.h"

namespace {

using SampleTest = AudioTest;

TEST_F(SampleTest, LoadingMapsTheDecodedFormatToTheBuffer) {
    struct Case {
        int channels, bits, alBits;
    };
    for (Case c : {Case{1, 8, 8}, Case{2, 8, 8}, Case{1, 16, 16}, Case{2, 16, 16}}) {
        Tone tone;
        tone.channels = c.channels;
        tone.bits = c.bits;
        tone.hertz = 11025;
        tone.seconds = 0.1;
        long long before = gc_ext_new_bytes.load();
        gxtkSample* sample = LoadWave("format.wav", tone);
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(gc_ext_new_bytes.load() - before, 1102 * c.channels * c.bits / 8) << "the decoded samples are counted";
        ASSERT_TRUE(alIsBuffer(sample->buffer));
        EXPECT_EQ(BufferInt(sample->buffer, AL_CHANNELS), c.channels);
        EXPECT_EQ(BufferInt(sample->buffer, AL_BITS), c.alBits);
        EXPECT_EQ(BufferInt(sample->buffer, AL_FREQUENCY), 11025);
        EXPECT_EQ(BufferInt(sample->buffer, AL_SIZE), 1102 * c.channels * c.bits / 8);
    }
}

// Nothing OpenAL cannot play is decoded, and no header sizes memory by a
// layout it only claims.
TEST_F(SampleTest, UnplayableFilesGiveNoSample) {
    EXPECT_EQ(device()->LoadSample(String(folder.File("missing.wav").c_str())), nullptr);
    EXPECT_EQ(device()->LoadSample(String(folder.Write("tone.txt", WaveBytes(Tone())).c_str())), nullptr);

    struct WaveCase {
        const char* what;
        int channels, bits, hertz;
    };
    for (WaveCase c : {WaveCase{"24 bits", 1, 24, 22050}, WaveCase{"three channels", 3, 16, 22050},
                       WaveCase{"no rate", 1, 16, 0}}) {
        Tone tone;
        tone.channels = c.channels;
        tone.bits = c.bits;
        tone.hertz = c.hertz;
        EXPECT_EQ(LoadWave("odd.wav", tone), nullptr) << c.what;
    }

    // Sparse: a data chunk past 2 GiB, which no byte count of a buffer holds.
    std::string huge = WaveBytes(Tone());
    std::size_t data = huge.find("data");
    ASSERT_NE(data, std::string::npos);
    huge.replace(data + 4, 4, std::string("\0\0\0\x80", 4));
    std::string hugePath = folder.Write("huge.wav", huge.substr(0, data + 8));
    std::filesystem::resize_file(hugePath, data + 8 + (1ull << 31));
    EXPECT_EQ(device()->LoadSample(String(hugePath.c_str())), nullptr) << "a data chunk of 2 GiB";

    struct OggCase {
        const char* what;
        int channels;
        std::uint32_t claimedHertz;
    };
    for (OggCase c : {OggCase{"six channels", 6, 0}, OggCase{"a rate of 2^31 - 1", 1, 2147483647u},
                      OggCase{"a rate of 192,001", 2, 192001}}) {
        Tone tone;
        tone.channels = c.channels;
        std::string path = folder.File("odd.ogg");
        ASSERT_TRUE(WriteOgg(path, tone)) << c.what;
        if (c.claimedHertz) {
            ASSERT_TRUE(ClaimHertz(path, c.claimedHertz)) << c.what;
        }
        EXPECT_EQ(device()->LoadSample(String(path.c_str())), nullptr) << c.what;
    }
}

// A loader thread is handed the resolved path; the main thread meanwhile
// resolves paths through the host's Strings as the game does.
TEST_F(SampleTest, LoaderThreadDecodesAResolvedPath) {
    std::string systemPath = KpGame::_game->SystemFilePath(String(WriteWave("tone.wav", Tone()).c_str()));
    gxtkSample* sample = new gxtkSample;
    bool loaded = false;
    std::thread loader([&] { loaded = device()->LoadSample__UNSAFE__(sample, systemPath); });
    for (int i = 0; i < 1000; ++i) KpGame::_game->SystemFilePath(String("brisko://data/tone.wav"));
    loader.join();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(BufferInt(sample->buffer, AL_SIZE), 4410 * 2);
}

// The buffer of a sample discarded while it sounds waits until the sound has
// stopped, however it stopped, and is deleted at the next play or load.
TEST_F(SampleTest, DiscardedBufferIsDeletedOnceNoSourceHoldsIt) {
    struct Case {
        const char* how;
        void (*stop)(gxtkAudio*, int);
    };
    const Case cases[] = {
        {"StopChannel", [](gxtkAudio* audio, int channel) { audio->StopChannel(channel); }},
        {"ended and queried",
         [](gxtkAudio* audio, int channel) {
             ASSERT_TRUE(WaitUntilSourceStops(channel));
             audio->ChannelState(channel);
         }},
    };
    Tone blip;
    blip.seconds = 0.05;
    for (const Case& c : cases) {
        gxtkSample* sample = LoadWave("blip.wav", blip);
        gxtkSample* other = LoadWave("other.wav", blip);
        ALuint buffer = sample->buffer;
        ASSERT_EQ(device()->PlaySample(sample, 4, 0), 0);
        sample->Discard();
        sample->Discard();
        EXPECT_EQ(sample->buffer, 0u);
        EXPECT_EQ(std::count(discarded.begin(), discarded.end(), buffer), 1) << c.how;

        ASSERT_EQ(device()->PlaySample(other, 6, 0), 0);
        EXPECT_TRUE(IsDiscarded(buffer)) << "still sounding: " << c.how;
        EXPECT_TRUE(alIsBuffer(buffer)) << c.how;

        c.stop(device(), 4);
        EXPECT_TRUE(alIsBuffer(buffer)) << "deleted only when a sound is played or loaded: " << c.how;
        ASSERT_EQ(device()->PlaySample(other, 6, 0), 0);
        EXPECT_FALSE(IsDiscarded(buffer)) << c.how;
        EXPECT_FALSE(alIsBuffer(buffer)) << c.how;
    }
}

TEST_F(SampleTest, SoundingSampleSurvivesCollectionWithNoOtherReference) {
    struct Case {
        const char* how;
        void (*hold)(gxtkAudio*, int);
    };
    const Case cases[] = {
        {"playing", [](gxtkAudio*, int) {}},
        {"paused by the game", [](gxtkAudio* audio, int channel) { audio->PauseChannel(channel); }},
        {"suspended", [](gxtkAudio* audio, int) { audio->Suspend(); }},
    };
    gxtkSample* other = LoadWave("other.wav", Tone());
    gc_assign(testSound, (new c_Sound)->m_new(other));
    for (const Case& c : cases) {
        gxtkSample* sample = LoadWave("loop.wav", Tone());
        ALuint buffer = sample->buffer;
        ASSERT_EQ(device()->PlaySample(sample, 5, 1), 0);
        c.hold(device(), 5);
        CollectAll();
        EXPECT_EQ(gc_find_live(sample), sample) << c.how;
        EXPECT_EQ(sample->buffer, buffer) << c.how;
        EXPECT_FALSE(IsDiscarded(buffer)) << c.how;

        device()->Resume();
        device()->StopChannel(5);
        CollectAll();
        EXPECT_EQ(gc_find_live(sample), nullptr) << "a silent sample is collected: " << c.how;
        EXPECT_TRUE(IsDiscarded(buffer)) << c.how;
        ASSERT_EQ(device()->PlaySample(other, 6, 0), 0);
        EXPECT_FALSE(alIsBuffer(buffer)) << "its buffer is deleted at the next play: " << c.how;
    }
}

// A one-shot that has ended goes with the next collection though its channel
// was never asked about it, and the channel keeps nothing of it that a later
// mark could touch: a device lost or no longer current marks every channel
// that still has a state.
TEST_F(SampleTest, EndedOneShotIsCollectedAndItsChannelLetsGoOfIt) {
    Tone blip;
    blip.seconds = 0.05;
    gxtkSample* sample = LoadWave("blip.wav", blip);
    ASSERT_EQ(device()->PlaySample(sample, 7, 0), 0);
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
         SourceInt(7, AL_SOURCE_STATE) != AL_STOPPED && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    CollectAll();
    EXPECT_EQ(gc_find_live(sample), nullptr);
    EXPECT_EQ(device()->channels[7].sample, nullptr);
    EXPECT_EQ(device()->ChannelState(7), 0);
}

}  // namespace
