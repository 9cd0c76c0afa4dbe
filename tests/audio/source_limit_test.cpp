#include "tests/audio/audio_fixture.h"

// Runs with an OpenAL configuration that allows 4 sources: the music
// channel's and three for effects.
namespace {

class SourceLimitTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        looping = LoadWave("loop.wav", Tone());
    }

    void PlayLooping(std::initializer_list<int> channels) {
        for (int channel : channels) ASSERT_EQ(device()->PlaySample(looping, channel, 1), 0) << channel;
    }

    gxtkSample* looping = nullptr;
};

TEST_F(SourceLimitTest, BusyDeviceTakesTheSourceOfTheFirstStoppedEffectChannel) {
    PlayLooping({0, 1, 2});
    EXPECT_EQ(device()->PlaySample(looping, 3, 0), -1) << "every source is busy";
    EXPECT_EQ(Source(3), 0u);
    EXPECT_EQ(device()->ChannelState(3), 0);

    ALuint second = Source(1), third = Source(2);
    device()->StopChannel(2);
    device()->StopChannel(1);
    ASSERT_EQ(device()->PlaySample(looping, 3, 0), 0);
    EXPECT_EQ(Source(3), second);
    EXPECT_EQ(Source(1), 0u);
    EXPECT_EQ(Source(2), third);
    EXPECT_EQ(device()->ChannelState(1), 0);
}

TEST_F(SourceLimitTest, EndedOneShotIsNoticedAndGivesUpItsSource) {
    Tone blip;
    blip.seconds = 0.05;
    PlayLooping({0, 1});
    ASSERT_EQ(device()->PlaySample(LoadWave("blip.wav", blip), 2, 0), 0);
    ALuint ended = Source(2);
    ASSERT_TRUE(WaitUntilSourceStops(2));

    ASSERT_EQ(device()->PlaySample(looping, 5, 1), 0);
    EXPECT_EQ(Source(5), ended);
    EXPECT_EQ(device()->channels[2].state, 0);
    EXPECT_EQ(Source(2), 0u);
}

TEST_F(SourceLimitTest, MusicChannelIsNeverADonor) {
    ALuint music = Source(gxtkAudio::kMusicChannel);
    ASSERT_NE(music, 0u);
    ASSERT_EQ(device()->MusicState(), 0);
    PlayLooping({0, 1, 2});

    EXPECT_EQ(device()->PlaySample(looping, 8, 0), -1);
    EXPECT_EQ(device()->SetVolume(8, 0.5f), 0) << "no source, no effect";
    EXPECT_EQ(Source(8), 0u);
    EXPECT_EQ(Source(gxtkAudio::kMusicChannel), music);
}

}  // namespace
