#include <cstdlib>

#include "tests/audio/audio_fixture.h"

namespace {

constexpr int kMusic = gxtkAudio::kMusicChannel;

class MusicTest : public AudioTest {
protected:
    std::string WriteTune(const std::string& name, double seconds = 0.5) {
        Tone tune;
        tune.seconds = seconds;
        std::string path = folder.File(name);
        EXPECT_TRUE(WriteOgg(path, tune));
        return path;
    }

    // Bytes of the tune as the host decodes it whole.
    static int DecodedBytes(const String& path) {
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* decoded = KpGame::_game->LoadAudioData(path, &length, &channels, &format, &hertz);
        EXPECT_NE(decoded, nullptr);
        std::free(decoded);
        return length * channels * format;
    }

    static int QueuedBytes() {
        int bytes = 0;
        for (ALuint buffer : device()->music->Buffers()) bytes += BufferInt(buffer, AL_SIZE);
        return bytes;
    }
};

TEST_F(MusicTest, ShortTuneIsQueuedWholeAndLoopsAtOnce) {
    String path(WriteTune("tune.ogg").c_str());
    ASSERT_EQ(device()->PlayMusic(path, 1), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    ASSERT_TRUE(device()->music && device()->music->Complete());
    ASSERT_EQ(device()->music->Buffers().size(), 1u);
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE);
    EXPECT_EQ(QueuedBytes(), DecodedBytes(path));
    EXPECT_EQ(BufferInt(device()->music->Buffers()[0], AL_FREQUENCY), 22050);
}

// Pieces of two seconds: the opening plays at once, the rest follows.
TEST_F(MusicTest, LongTuneStartsFromItsOpeningAndQueuesTheRestInPieces) {
    String path(WriteTune("long.ogg", 7).c_str());
    ASSERT_EQ(device()->PlayMusic(path, 1), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);

    ASSERT_TRUE(WaitUntilTuneQueued());
    ASSERT_EQ(device()->music->Buffers().size(), 4u);
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 4);
    EXPECT_GE(BufferInt(device()->music->Buffers()[0], AL_SIZE), gxtkMusicStream::kPieceSeconds * 22050 * 2);
    EXPECT_EQ(QueuedBytes(), DecodedBytes(path)) << "the whole tune, to the last sample";
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE) << "loops once the whole tune is queued";
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
}

// The rest follows the opening without a stop, and a tune played once ends.
TEST_F(MusicTest, RestPlaysOnAfterTheOpening) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("once.ogg", 2.6).c_str()), 0), 0);
    ASSERT_TRUE(WaitUntilTuneQueued());
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_PROCESSED), 1) << "the opening is done";
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_FALSE);
    EXPECT_TRUE(WaitUntilSourceStops(kMusic));
    EXPECT_EQ(device()->MusicState(), 0);
}

TEST_F(MusicTest, StoppingWhileTheRestDecodesLeavesNothingQueued) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(device()->PlayMusic(String(WriteTune("long.ogg", 6).c_str()), 1), 0);
        device()->StopMusic();
        EXPECT_EQ(device()->music, nullptr);
        EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_STOPPED);
        EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 0);
        EXPECT_EQ(device()->MusicState(), 0);
    }
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

TEST_F(MusicTest, MissingOrBrokenTuneStopsTheOldOneAndLeavesTheChannelStopped) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg").c_str()), 1), 0);
    EXPECT_EQ(device()->PlayMusic(String(folder.File("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(device()->MusicState(), 0);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_STOPPED);
    EXPECT_EQ(device()->PlayMusic(String(folder.Write("broken.ogg", "OggS and nothing more").c_str()), 1), -1);
    EXPECT_EQ(device()->MusicState(), 0);
}

TEST_F(MusicTest, ReplacedTuneLetsGoOfItsBuffers) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("first.ogg").c_str()), 1), 0);
    ALuint first = device()->music->Buffers()[0];
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("second.ogg").c_str()), 1), 0);
    ALuint second = device()->music->Buffers()[0];
    EXPECT_TRUE(second == first || !alIsBuffer(first)) << "deleted, its name free for the new tune";
    EXPECT_EQ(device()->MusicState(), 1);
}

// A tune played once has ended and its end was noticed only by a pause (as
// the pause menu does) or a state query: the next tune is heard, and the
// ended tune's buffers are gone.
TEST_F(MusicTest, NextTuneAfterAnEndedOneIsHeard) {
    for (bool noticedByPause : {true, false}) {
        SCOPED_TRACE(noticedByPause ? "noticed by a pause" : "noticed by a state query");
        ASSERT_EQ(device()->PlayMusic(String(WriteTune("once.ogg", 0.2).c_str()), 0), 0);
        std::vector<ALuint> ended = device()->music->Buffers();
        ASSERT_TRUE(WaitUntilSourceStops(kMusic));
        if (noticedByPause) {
            device()->PauseMusic();
        } else {
            EXPECT_EQ(device()->MusicState(), 0);
        }
        EXPECT_EQ(device()->music, nullptr) << "an ended tune lets go of its stream";
        for (ALuint buffer : ended) EXPECT_FALSE(alIsBuffer(buffer));

        ASSERT_EQ(device()->PlayMusic(String(WriteTune("next.ogg", 3).c_str()), 1), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
        EXPECT_EQ(device()->MusicState(), 1);
        device()->StopMusic();
    }
}

// A tune that is not Ogg Vorbis is decoded whole into one sample.
TEST_F(MusicTest, WaveTunePlaysFromOneSample) {
    Tone tone;
    ASSERT_EQ(device()->PlayMusic(String(WriteWave("tune.wav", tone).c_str()), 1), 0);
    EXPECT_EQ(device()->music, nullptr);
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_NE(device()->channels[kMusic].sample, nullptr);
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE);
}

}  // namespace
