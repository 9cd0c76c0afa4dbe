#include <cstdlib>

#include "tests/audio/audio_fixture.h"

namespace {

constexpr int kMusic = gxtkAudio::kMusicChannel;

class MusicTest : public AudioTest {
protected:
    std::string WriteTune(const std::string& name) {
        Tone tune;
        tune.seconds = 0.5;
        std::string path = folder.File(name);
        EXPECT_TRUE(WriteOgg(path, tune));
        return path;
    }
};

TEST_F(MusicTest, TuneIsDecodedWholeBeforeItPlays) {
    String path(WriteTune("tune.ogg").c_str());
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* decoded = KpGame::_game->LoadAudioData(path, &length, &channels, &format, &hertz);
    ASSERT_NE(decoded, nullptr);
    std::free(decoded);

    ASSERT_EQ(device()->PlayMusic(path, 1), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE);
    ALuint buffer = static_cast<ALuint>(SourceInt(kMusic, AL_BUFFER));
    EXPECT_EQ(BufferInt(buffer, AL_SIZE), length * channels * format);
    EXPECT_EQ(BufferInt(buffer, AL_FREQUENCY), hertz);
}

TEST_F(MusicTest, MusicOperationsActOnTheMusicChannel) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg").c_str()), 0), 0);
    device()->SetMusicVolume(0.4f);
    ALfloat gain = 0;
    alGetSourcef(Source(kMusic), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.4f);

    device()->PauseMusic();
    EXPECT_EQ(device()->MusicState(), 2);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PAUSED);
    device()->ResumeMusic();
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
    device()->StopMusic();
    EXPECT_EQ(device()->MusicState(), 0);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(MusicTest, MissingTuneStopsTheOldOneAndLeavesTheChannelStopped) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg").c_str()), 1), 0);
    EXPECT_EQ(device()->PlayMusic(String(folder.File("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(device()->MusicState(), 0);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_STOPPED);
}

TEST_F(MusicTest, ReplacedTuneIsCollectedAndItsBufferDeleted) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("first.ogg").c_str()), 1), 0);
    ALuint first = static_cast<ALuint>(SourceInt(kMusic, AL_BUFFER));
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("second.ogg").c_str()), 1), 0);
    CollectAll();
    ASSERT_TRUE(IsDiscarded(first));
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("third.ogg").c_str()), 1), 0);
    EXPECT_FALSE(IsDiscarded(first));
    ALuint third = static_cast<ALuint>(SourceInt(kMusic, AL_BUFFER));
    EXPECT_TRUE(third == first || !alIsBuffer(first)) << "deleted, its name free for the new tune";
    EXPECT_EQ(device()->MusicState(), 1);
}

}  // namespace
