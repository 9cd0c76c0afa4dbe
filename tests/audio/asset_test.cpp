#include <cstdlib>

#include "tests/audio/audio_fixture.h"

// The game's own sounds, reached through the data folder beside this program.
namespace {

using GameSoundTest = AudioTest;

TEST_F(GameSoundTest, EffectNamesAreReadFromTheDataFolder) {
    for (const char* name :
         {"001", "002", "003", "004", "005", "006", "007", "008", "009", "095", "096", "098", "099"}) {
        std::string path = std::string("sfx/") + name + ".wav";
        c_Sound* sound = kp_audio_LoadSound(String(path.c_str()));
        ASSERT_NE(sound, nullptr) << path;
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* decoded =
            KpGame::_game->LoadAudioData(String((DATA_FOLDER "/" + path).c_str()), &length, &channels, &format, &hertz);
        ASSERT_NE(decoded, nullptr) << path;
        std::free(decoded);
        EXPECT_EQ(BufferInt(sound->m_sample->buffer, AL_SIZE), length * channels * format) << path;
    }
}

TEST_F(GameSoundTest, TunePlaysOnTheMusicChannel) {
    ASSERT_EQ(kp_audio_PlayMusic(String("sfx/Agile.ogg"), 0), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    ASSERT_TRUE(WaitUntilTuneQueued());
    EXPECT_EQ(SourceInt(gxtkAudio::kMusicChannel, AL_SOURCE_STATE), AL_PLAYING);
    ALuint opening = device()->music->Buffers()[0];
    ALint bytesPerSecond = BufferInt(opening, AL_FREQUENCY) * BufferInt(opening, AL_CHANNELS) * 2;
    ALint bytes = 0;
    for (ALuint buffer : device()->music->Buffers()) bytes += BufferInt(buffer, AL_SIZE);
    EXPECT_GE(bytes, 60 * bytesPerSecond) << "the whole tune is queued";
}

}  // namespace
