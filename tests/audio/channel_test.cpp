#include "tests/audio/audio_fixture.h"

namespace {

using ChannelTest = AudioTest;

TEST_F(ChannelTest, OpeningGivesTheMusicChannelItsSourceAndTurnsDistanceOff) {
    EXPECT_EQ(gxtkAudio::audio, device());
    EXPECT_TRUE(alIsSource(Source(gxtkAudio::kMusicChannel)));
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
}

TEST_F(ChannelTest, PauseSuspendResumeAndResumeChannel) {
    gxtkSample* sample = LoadWave("loop.wav", Tone());
    ASSERT_EQ(device()->PlaySample(sample, 3, 1), 0);
    ASSERT_EQ(device()->PlaySample(sample, 4, 1), 0);
    EXPECT_EQ(device()->ChannelState(3), 1);
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(3, AL_LOOPING), AL_TRUE);

    device()->PauseChannel(3);
    EXPECT_EQ(device()->ChannelState(3), 2);
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PAUSED);

    device()->Suspend();
    EXPECT_EQ(device()->ChannelState(4), 1) << "suspending keeps the state";
    EXPECT_EQ(SourceInt(4, AL_SOURCE_STATE), AL_PAUSED);

    device()->Resume();
    EXPECT_EQ(SourceInt(4, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(device()->ChannelState(3), 2) << "the game paused it, so resuming the app leaves it";
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PAUSED);

    device()->ResumeChannel(3);
    EXPECT_EQ(device()->ChannelState(3), 1);
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PLAYING);

    device()->StopChannel(3);
    EXPECT_EQ(device()->ChannelState(3), 0);
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(ChannelTest, EndedOneShotReadsStoppedAtTheNextQuery) {
    struct Case {
        const char* query;
        int (gxtkAudio::*call)(int);
    };
    Tone blip;
    blip.seconds = 0.05;
    gxtkSample* sample = LoadWave("blip.wav", blip);
    for (Case c : {Case{"ChannelState", &gxtkAudio::ChannelState}, Case{"PauseChannel", &gxtkAudio::PauseChannel}}) {
        ASSERT_EQ(device()->PlaySample(sample, 7, 0), 0);
        EXPECT_EQ(SourceInt(7, AL_LOOPING), AL_FALSE);
        ASSERT_TRUE(WaitUntilSourceStops(7));
        EXPECT_EQ(device()->channels[7].state, 1) << "the end is noticed lazily";
        (device()->*c.call)(7);
        EXPECT_EQ(device()->channels[7].state, 0) << c.query;
    }
}

TEST_F(ChannelTest, ReplayingABusyChannelRestartsItWithTheNewSample) {
    Tone longTone;
    longTone.seconds = 2;
    gxtkSample* first = LoadWave("first.wav", longTone);
    gxtkSample* second = LoadWave("second.wav", longTone);
    ASSERT_EQ(device()->PlaySample(first, 3, 1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ALint playedBefore = SourceInt(3, AL_SAMPLE_OFFSET);
    ASSERT_GT(playedBefore, 0);

    ASSERT_EQ(device()->PlaySample(second, 3, 0), 0);
    EXPECT_EQ(SourceInt(3, AL_BUFFER), static_cast<ALint>(second->buffer));
    EXPECT_EQ(SourceInt(3, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(3, AL_LOOPING), AL_FALSE);
    EXPECT_LT(SourceInt(3, AL_SAMPLE_OFFSET), playedBefore) << "starts from the beginning";
    EXPECT_EQ(device()->channels[3].sample, second);
    EXPECT_EQ(device()->channels[3].flags, 0);
}

TEST_F(ChannelTest, VolumePanAndRateStayAcrossPlays) {
    gxtkSample* sample = LoadWave("tone.wav", Tone());
    device()->SetVolume(9, 0.25f);
    device()->SetPan(9, 0.5f);
    device()->SetRate(9, 1.5f);
    ASSERT_EQ(device()->PlaySample(sample, 9, 0), 0);

    ALfloat gain = 0, pitch = 0, x = 0, y = 1, z = 0;
    alGetSourcef(Source(9), AL_GAIN, &gain);
    alGetSourcef(Source(9), AL_PITCH, &pitch);
    alGetSource3f(Source(9), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(x, 0.479f, 5e-4);
    EXPECT_FLOAT_EQ(y, 0);
    EXPECT_NEAR(z, -0.878f, 5e-4);

    device()->SetPan(9, 0);
    alGetSource3f(Source(9), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(z, -1);
}

TEST_F(ChannelTest, BadChannelNumbersAndNullSamplesAreIgnored) {
    gxtkSample* sample = LoadWave("tone.wav", Tone());
    for (int channel : {-1, 33, 1000}) {
        EXPECT_EQ(device()->PlaySample(sample, channel, 0), -1) << channel;
        EXPECT_EQ(device()->ChannelState(channel), 0) << channel;
        EXPECT_EQ(device()->StopChannel(channel), 0) << channel;
        EXPECT_EQ(device()->PauseChannel(channel), 0) << channel;
        EXPECT_EQ(device()->ResumeChannel(channel), 0) << channel;
        EXPECT_EQ(device()->SetVolume(channel, 0.5f), 0) << channel;
        EXPECT_EQ(device()->SetPan(channel, 0.5f), 0) << channel;
        EXPECT_EQ(device()->SetRate(channel, 0.5f), 0) << channel;
    }
    EXPECT_EQ(device()->PlaySample(nullptr, 2, 0), -1);
    EXPECT_EQ(device()->ChannelState(2), 0);
}

}  // namespace
