#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "host/ogg_reader.h"
#include "tests/audio/audio_fixture.h"

namespace {

constexpr int kMusic = gxtkAudio::kMusicChannel;
constexpr int kHertz = 22050;
constexpr int kOpeningFrames = static_cast<int>(kHertz * gxtkMusicDecoder::kOpeningSeconds);
constexpr int kPieceFrames = static_cast<int>(kHertz * gxtkMusicDecoder::kPieceSeconds);
// The decoder hands out whole Vorbis frames, of at most this many samples.
constexpr int kLongestVorbisFrame = 1024;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

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

    static int BufferFrames(ALuint buffer) { return BufferInt(buffer, AL_SIZE) / 2; }

    struct Run {
        double seconds = 0;
        bool ranDry = false;
    };

    // Updates as the game does until the tune ends: how long it sounded, and
    // whether its source ran dry on the way. The music state stays 1 until
    // the end.
    static Run UntilTheTuneEnds() {
        Run run;
        Clock::time_point start = Clock::now();
        for (int tries = 0; tries < 1000; ++tries) {
            device()->UpdateMusic();
            bool stopped = SourceInt(kMusic, AL_SOURCE_STATE) == AL_STOPPED;
            if (stopped && device()->MusicState() == 0) break;
            EXPECT_EQ(device()->MusicState(), 1) << "a tune that has not ended is still playing";
            run.ranDry = run.ranDry || stopped;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        run.seconds = SecondsSince(start);
        return run;
    }
};

TEST_F(MusicTest, ShortTuneLoopsOnceQueuedWhole) {
    String path(WriteTune("tune.ogg", 0.3).c_str());
    ASSERT_EQ(device()->PlayMusic(path, 1), 0);
    EXPECT_EQ(device()->MusicState(), 1);
    ASSERT_TRUE(WaitUntilTuneQueued());
    EXPECT_EQ(device()->music->Buffers().size(), 2u) << "the opening and the rest";
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE);
    EXPECT_EQ(QueuedBytes(), DecodedBytes(path));
    EXPECT_EQ(BufferInt(device()->music->Buffers()[0], AL_FREQUENCY), kHertz);
}

// A short opening, then short pieces.
TEST_F(MusicTest, LongTuneStartsFromAShortOpeningAndQueuesTheRestInPieces) {
    String path(WriteTune("long.ogg", 7).c_str());
    ASSERT_EQ(device()->PlayMusic(path, 1), 0);
    ASSERT_TRUE(WaitUntilTuneQueued());
    const std::vector<ALuint>& buffers = device()->music->Buffers();
    ASSERT_GE(buffers.size(), 3u);
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), static_cast<ALint>(buffers.size()));
    EXPECT_GE(BufferFrames(buffers[0]), kOpeningFrames);
    EXPECT_LT(BufferFrames(buffers[0]), kOpeningFrames + kLongestVorbisFrame);
    for (std::size_t piece = 1; piece + 1 < buffers.size(); ++piece) {
        EXPECT_GE(BufferFrames(buffers[piece]), kPieceFrames) << piece;
        EXPECT_LT(BufferFrames(buffers[piece]), kPieceFrames + kLongestVorbisFrame) << piece;
    }
    EXPECT_EQ(QueuedBytes(), DecodedBytes(path)) << "the whole tune, to the last sample";
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_TRUE) << "loops once the whole tune is queued";
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
}

// Starting a tune decodes nothing on the caller's thread, and the worker
// that decodes never touches OpenAL: the pieces reach the source one an
// update, and the first update that finds the opening decoded starts it.
TEST_F(MusicTest, WorkerDecodesAndUpdatesQueue) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("long.ogg", 7).c_str()), 0), 0);
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 0) << "nothing decoded yet";
    EXPECT_EQ(device()->MusicState(), 1);

    ASSERT_TRUE(UpdateMusicUntil([] { return SourceInt(kMusic, AL_BUFFERS_QUEUED) > 0; }));
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 1) << "the worker queued nothing by itself";
    ALint queued = 1;

    for (int update = 0; update < 400 && !device()->music->Complete(); ++update) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        device()->UpdateMusic();
        ALint now = SourceInt(kMusic, AL_BUFFERS_QUEUED);
        EXPECT_LE(now, queued + 1) << "one piece an update";
        queued = now;
    }
    EXPECT_TRUE(device()->music->Complete());
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
}

// With updates coming as in the game, the tune sounds for its length
// without a break, and a tune played once ends.
TEST_F(MusicTest, TunePlaysToItsEndWithoutABreak) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("once.ogg", 2.6).c_str()), 0), 0);
    ASSERT_TRUE(WaitUntilMusicSounds());
    Run run = UntilTheTuneEnds();
    EXPECT_FALSE(run.ranDry);
    EXPECT_NEAR(run.seconds, 2.6, 0.15);
    EXPECT_EQ(SourceInt(kMusic, AL_LOOPING), AL_FALSE);
    EXPECT_EQ(device()->music, nullptr) << "an ended tune lets go of its stream";
}

// The source runs dry when the next piece is late (here the updates that
// queue it are held back). The tune is still playing for the game, other
// sounds starting meanwhile leave its queue alone, and once the piece is
// there it goes on from where it stopped, also after a pause meanwhile.
TEST_F(MusicTest, TuneThatRanDryGoesOnWhenItsNextPieceComes) {
    for (bool pausedWhileDry : {false, true}) {
        SCOPED_TRACE(pausedWhileDry ? "paused while dry" : "not paused");
        ASSERT_EQ(device()->PlayMusic(String(WriteTune("late.ogg", 1).c_str()), 0), 0);
        ASSERT_TRUE(WaitUntilMusicSounds());
        ASSERT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 1) << "the opening alone";
        ASSERT_TRUE(WaitUntilSourceStops(kMusic));
        EXPECT_EQ(device()->MusicState(), 1);

        gxtkSample* effect = LoadWave("effect.wav", Tone());
        LoadWave("discarded.wav", Tone())->Discard();
        ASSERT_EQ(device()->PlaySample(effect, 0, 0), 0);
        EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 1) << "the music source keeps its queue";

        if (pausedWhileDry) {
            device()->PauseMusic();
            EXPECT_EQ(device()->MusicState(), 2);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            device()->UpdateMusic();
            EXPECT_NE(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING) << "a paused tune stays silent";
            device()->ResumeMusic();
        } else {
            ASSERT_TRUE(UpdateMusicUntil([] { return SourceInt(kMusic, AL_BUFFERS_QUEUED) > 1; }));
        }
        EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
        EXPECT_GE(SourceInt(kMusic, AL_SAMPLE_OFFSET), kOpeningFrames) << "on from the end of the opening";
        Run rest = UntilTheTuneEnds();
        EXPECT_FALSE(rest.ranDry);
        EXPECT_NEAR(rest.seconds, 1 - gxtkMusicDecoder::kOpeningSeconds, 0.15);
    }
}

TEST_F(MusicTest, StoppingWhileTheRestDecodesLeavesNothingQueued) {
    for (int updates = 0; updates < 3; ++updates) {
        ASSERT_EQ(device()->PlayMusic(String(WriteTune("long.ogg", 6).c_str()), 1), 0);
        for (int update = 0; update < updates; ++update) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            device()->UpdateMusic();
        }
        device()->StopMusic();
        EXPECT_EQ(device()->music, nullptr);
        EXPECT_NE(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
        EXPECT_EQ(SourceInt(kMusic, AL_BUFFERS_QUEUED), 0);
        EXPECT_EQ(device()->MusicState(), 0);
    }
}

// Paused before its opening was decoded, a tune stays silent until resumed.
TEST_F(MusicTest, MusicOperationsActOnTheMusicChannel) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg", 2).c_str()), 0), 0);
    device()->SetMusicVolume(0.4f);
    ALfloat gain = 0;
    alGetSourcef(Source(kMusic), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.4f);

    device()->PauseMusic();
    EXPECT_EQ(device()->MusicState(), 2);
    ASSERT_TRUE(UpdateMusicUntil([] { return SourceInt(kMusic, AL_BUFFERS_QUEUED) > 0; })) << "the opening is queued";
    EXPECT_NE(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);
    device()->ResumeMusic();
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_EQ(SourceInt(kMusic, AL_SOURCE_STATE), AL_PLAYING);

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

// Rewrites the file with `change` applied to its bytes.
template <class Change> bool Rewrite(const std::string& file, Change change) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!change(bytes)) return false;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return true;
}

// Only the first page, the identification header, is left.
bool CutAfterFirstPage(const std::string& file) {
    return Rewrite(file, [](std::string& bytes) {
        std::size_t second = bytes.find("OggS", 4);
        if (second == std::string::npos) return false;
        bytes.resize(second);
        return true;
    });
}

// The setup header's first codebook loses its sync pattern.
bool DamageSetup(const std::string& file) {
    return Rewrite(file, [](std::string& bytes) {
        std::size_t setup = bytes.find("\x05vorbis");
        if (setup == std::string::npos) return false;
        bytes.replace(setup + 8, 3, "XYZ");
        return true;
    });
}

// Every page's checksum made right again for its bytes, as a file damaged
// before it was written would have them.
bool MendChecksums(const std::string& file) {
    return Rewrite(file, [](std::string& bytes) {
        for (std::size_t at = 0; at + 27 <= bytes.size();) {
            if (bytes.compare(at, 4, "OggS") != 0) return false;
            std::size_t segments = static_cast<unsigned char>(bytes[at + 26]), size = 27 + segments;
            for (std::size_t segment = 0; segment < segments; ++segment) {
                size += static_cast<unsigned char>(bytes[at + 27 + segment]);
            }
            std::vector<unsigned char> page(bytes.begin() + at, bytes.begin() + at + size);
            std::uint32_t checksum = OggPageChecksum(page);
            for (int byte = 0; byte < 4; ++byte) bytes[at + 22 + byte] = static_cast<char>(checksum >> 8 * byte);
            at += size;
        }
        return true;
    });
}

// A file that holds no playable tune is refused at once, and what played
// plays on.
TEST_F(MusicTest, UnplayableTuneIsRefusedAndTheOldOnePlaysOn) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg").c_str()), 1), 0);
    ASSERT_TRUE(WaitUntilMusicSounds());
    gxtkMusicStream* playing = device()->music.get();

    Tone surround;
    surround.channels = 6;
    ASSERT_TRUE(WriteOgg(folder.File("surround.ogg"), surround));
    std::string huge = WriteTune("huge.ogg");
    ASSERT_TRUE(ClaimHertz(huge, 2147483647u));
    std::string silent = WriteTune("silent.ogg");
    ASSERT_TRUE(ClaimHertz(silent, 0));
    std::string headerOnly = WriteTune("header-only.ogg");
    ASSERT_TRUE(CutAfterFirstPage(headerOnly));
    std::string badSetup = WriteTune("bad-setup.ogg");
    ASSERT_TRUE(DamageSetup(badSetup));
    const std::string files[] = {folder.File("missing.ogg"), folder.Write("text.ogg", "no tune here"),
                                 folder.Write("broken.ogg", "OggS and nothing more"), folder.File("surround.ogg"),
                                 huge, silent, headerOnly, badSetup};
    for (const std::string& file : files) {
        EXPECT_EQ(device()->PlayMusic(String(file.c_str()), 1), -1) << file;
        EXPECT_EQ(device()->MusicState(), 1) << file;
        EXPECT_EQ(device()->music.get(), playing) << file;
    }
    EXPECT_TRUE(WaitUntilMusicSounds()) << "the old tune is still heard";
}

// A tune whose header pages are whole but whose setup cannot be decoded is
// found out by the worker: the tune it replaced goes on from where it was.
TEST_F(MusicTest, TuneThatCannotBeDecodedGivesWayToTheOneItReplaced) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("tune.ogg", 20).c_str()), 1), 0);
    ASSERT_TRUE(WaitUntilMusicSounds());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    device()->UpdateMusic();
    long long heard = device()->music->HeardFrame();
    ASSERT_GT(heard, 0);

    std::string undecodable = WriteTune("undecodable.ogg");
    ASSERT_TRUE(DamageSetup(undecodable));
    ASSERT_TRUE(MendChecksums(undecodable));
    device()->PlayMusic(String(undecodable.c_str()), 1);
    ASSERT_TRUE(UpdateMusicUntil([&] { return device()->music && device()->music->HeardFrame() >= heard; }));
    EXPECT_EQ(device()->MusicState(), 1);
    EXPECT_TRUE(WaitUntilMusicSounds()) << "the old tune is heard again";
}

// Handed a stream whose header claims a layout it cannot play, the worker
// decodes nothing and ends, without sizing memory by the claim.
TEST_F(MusicTest, DecoderRefusesUnplayableHeaders) {
    Tone surround;
    surround.channels = 6;
    ASSERT_TRUE(WriteOgg(folder.File("surround.ogg"), surround));
    std::string huge = WriteTune("huge.ogg");
    ASSERT_TRUE(ClaimHertz(huge, 2147483647u));
    for (const std::string& file : {folder.File("surround.ogg"), huge}) {
        FILE* opened = std::fopen(file.c_str(), "rb");
        ASSERT_NE(opened, nullptr);
        gxtkMusicDecoder decoder(opened);
        gxtkMusicDecoder::Piece piece;
        auto end = Clock::now() + std::chrono::seconds(20);
        bool took = false;
        while (!decoder.Finished() && Clock::now() < end) {
            took = decoder.TakePiece(piece) || took;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_TRUE(decoder.Finished()) << file;
        EXPECT_FALSE(took || decoder.TakePiece(piece)) << file;
    }
}

// A device that goes while a tune plays after another lets go of both
// tunes' buffers once; every device after the game's first meets this.
TEST_F(MusicTest, SecondDeviceGoesWithARetiredTune) {
    ALCcontext* suiteContext = alcGetCurrentContext();
    gxtkAudio* second = new gxtkAudio;
    ASSERT_NE(second->context, nullptr);
    ASSERT_EQ(second->PlayMusic(String(WriteTune("short.ogg", 0.5).c_str()), 1), 0);
    auto end = Clock::now() + std::chrono::seconds(20);
    while (!second->music->Complete() && Clock::now() < end) second->UpdateMusic();
    ASSERT_EQ(second->PlayMusic(String(WriteTune("long.ogg", 3).c_str()), 1), 0);
    EXPECT_FALSE(second->retiredMusic.empty());
    // More buffers than the retired list has room for, so the tune's going
    // grows the list.
    while (second->music->Buffers().size() <= 2 * second->retiredMusic.capacity() && Clock::now() < end) {
        second->UpdateMusic();
    }

    gc_assign(gxtkAudio::audio, device());
    CollectAll();
    EXPECT_EQ(gc_find_live(second), nullptr);
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
    alcMakeContextCurrent(suiteContext);
    EXPECT_EQ(device()->PlayMusic(String(WriteTune("after.ogg").c_str()), 1), 0);
    EXPECT_TRUE(WaitUntilMusicSounds());
}

TEST_F(MusicTest, ReplacedTuneLetsGoOfItsBuffers) {
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("first.ogg").c_str()), 1), 0);
    ASSERT_TRUE(WaitUntilTuneQueued());
    std::vector<ALuint> first = device()->music->Buffers();
    ASSERT_EQ(device()->PlayMusic(String(WriteTune("second.ogg").c_str()), 1), 0);
    EXPECT_TRUE(UpdateMusicUntil([&] {
        const std::vector<ALuint>& second = device()->music->Buffers();
        return std::all_of(first.begin(), first.end(), [&](ALuint buffer) {
            return !alIsBuffer(buffer) || std::find(second.begin(), second.end(), buffer) != second.end();
        });
    })) << "deleted over the next updates, their names free for the new tune";
    EXPECT_EQ(device()->MusicState(), 1);
}

// A tune played once has ended and its end was noticed only by a pause (as
// the pause menu does) or a state query: the next tune is heard, and the
// ended tune's buffers go over the next updates.
TEST_F(MusicTest, NextTuneAfterAnEndedOneIsHeard) {
    for (bool noticedByPause : {true, false}) {
        SCOPED_TRACE(noticedByPause ? "noticed by a pause" : "noticed by a state query");
        ASSERT_EQ(device()->PlayMusic(String(WriteTune("once.ogg", 0.2).c_str()), 0), 0);
        ASSERT_TRUE(WaitUntilTuneQueued());
        std::vector<ALuint> ended = device()->music->Buffers();
        ASSERT_TRUE(WaitUntilSourceStops(kMusic));
        if (noticedByPause) {
            device()->PauseMusic();
        } else {
            EXPECT_EQ(device()->MusicState(), 0);
        }
        EXPECT_EQ(device()->music, nullptr) << "an ended tune lets go of its stream";
        EXPECT_TRUE(UpdateMusicUntil(
            [&] { return std::none_of(ended.begin(), ended.end(), [](ALuint buffer) { return alIsBuffer(buffer); }); }));

        ASSERT_EQ(device()->PlayMusic(String(WriteTune("next.ogg", 3).c_str()), 1), 0);
        EXPECT_TRUE(WaitUntilMusicSounds());
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
