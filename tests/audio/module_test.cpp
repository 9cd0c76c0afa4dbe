#include "tests/audio/audio_fixture.h"

namespace {

using AudioModuleTest = AudioTest;

TEST_F(AudioModuleTest, NullSoundsPlayNothing) {
    EXPECT_EQ(kp_audio_PlaySound(nullptr, 0, 0), 0);
    EXPECT_EQ(kp_audio_PlaySound((new c_Sound)->m_new(nullptr), 0, 0), 0);
    EXPECT_EQ(device()->ChannelState(0), 0);
}

TEST_F(AudioModuleTest, LoadSoundGivesASoundThatKeepsItsSample) {
    EXPECT_EQ(kp_audio_LoadSound(String(folder.File("missing.wav").c_str())), nullptr);
    gc_assign(testSound, kp_audio_LoadSound(String(WriteWave("tone.wav", Tone()).c_str())));
    ASSERT_NE(testSound, nullptr);
    gxtkSample* sample = testSound->m_sample;
    ASSERT_NE(sample, nullptr);
    CollectAll();
    EXPECT_EQ(gc_find_live(sample), sample);
    EXPECT_TRUE(alIsBuffer(sample->buffer));
}

TEST_F(AudioModuleTest, ChannelCallsReachTheDevice) {
    c_Sound* sound = kp_audio_LoadSound(String(WriteWave("tone.wav", Tone()).c_str()));
    EXPECT_EQ(kp_audio_SetChannelVolume(6, 0.5f), 0);
    EXPECT_EQ(kp_audio_SetChannelPan(6, -1), 0);
    EXPECT_EQ(kp_audio_SetChannelRate(6, 0.75f), 0);
    EXPECT_EQ(kp_audio_PlaySound(sound, 6, 1), 0);
    EXPECT_EQ(device()->ChannelState(6), 1);
    EXPECT_EQ(device()->channels[6].flags, 1);
    ALfloat gain = 0, pitch = 0, x = 0, y = 1, z = 0;
    alGetSourcef(Source(6), AL_GAIN, &gain);
    alGetSourcef(Source(6), AL_PITCH, &pitch);
    alGetSource3f(Source(6), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 0.75f);
    EXPECT_NEAR(x, -0.841f, 5e-4);
    EXPECT_NEAR(z, -0.540f, 5e-4);
    EXPECT_EQ(kp_audio_StopChannel(6), 0);
    EXPECT_EQ(device()->ChannelState(6), 0);
}

TEST_F(AudioModuleTest, MusicCallsReachTheMusicChannel) {
    std::string tune = WriteWave("tune.wav", Tone());
    EXPECT_EQ(kp_audio_PlayMusic(String(tune.c_str()), 1), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(kp_audio_SetMusicVolume(0.7f), 0);
    ALfloat gain = 0;
    alGetSourcef(Source(gxtkAudio::kMusicChannel), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.7f);
    EXPECT_EQ(kp_audio_PauseMusic(), 0);
    EXPECT_EQ(device()->MusicState(), 2);
    EXPECT_EQ(kp_audio_ResumeMusic(), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(kp_audio_StopMusic(), 0);
    EXPECT_EQ(device()->MusicState(), 0);
    EXPECT_EQ(kp_audio_PlayMusic(String(folder.File("missing.ogg").c_str()), 0), -1);
}

}  // namespace
