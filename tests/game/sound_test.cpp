#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

struct Call {
    std::string name;
    int channel = -1;
    float value = 0;
    std::string path;

    bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out) {
    *out << call.name << "(" << call.channel << ", " << call.value << ", \"" << call.path << "\")";
}

// Records the calls the game makes; only samples are really loaded, so the
// channels and the music stay silent.
class RecordingAudio : public gxtkAudio {
public:
    std::vector<Call> calls;
    std::vector<gxtkSample*> played;

    gxtkSample* LoadSample(String path) override {
        calls.push_back({"LoadSample", -1, 0, path.ToUtf8()});
        return gxtkAudio::LoadSample(path);
    }
    int PlaySample(gxtkSample* sample, int channel, int flags) override {
        calls.push_back({"PlaySample", channel, static_cast<float>(flags), ""});
        played.push_back(sample);
        return 0;
    }
    int StopChannel(int channel) override { return Record("StopChannel", channel, 0); }
    int SetVolume(int channel, float volume) override { return Record("SetVolume", channel, volume); }
    int SetPan(int channel, float pan) override { return Record("SetPan", channel, pan); }
    int SetRate(int channel, float rate) override { return Record("SetRate", channel, rate); }
    int PlayMusic(String path, int flags) override {
        calls.push_back({"PlayMusic", -1, static_cast<float>(flags), path.ToUtf8()});
        return 0;
    }
    int StopMusic() override { return Record("StopMusic", -1, 0); }
    int SetMusicVolume(float volume) override { return Record("SetMusicVolume", -1, volume); }

private:
    int Record(const char* name, int channel, float value) {
        calls.push_back({name, channel, value, ""});
        return 0;
    }
};

const std::string kAgile = "brisko://data/sfx/Agile.ogg";

// A started game whose audio device records; effect 3 is loaded, effects
// and tunes are on at full volume.
class SoundTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        audio = new RecordingAudio;
        kp_audio_SetAudioDevice(audio);
        gc_assign(app->m_Sounds[3], (new c_Sound)->m_new(new gxtkSample));
        Settings(1, 0, 0);
    }

    void Settings(int mode, int effectStep, int musicStep) {
        app->m_Settings[5] = mode;
        app->m_Settings[6] = effectStep;
        app->m_Settings[7] = musicStep;
    }

    std::vector<Call> TakeCalls() {
        std::vector<Call> calls;
        calls.swap(audio->calls);
        return calls;
    }

    RecordingAudio* audio = nullptr;
};

TEST_F(SoundTest, EffectIsSetUpOnItsChannelBeforeItIsHeard) {
    Settings(1, 1, 0);
    app->p_PlaySFX(3, 1.5f, 0.8f, -0.5f);
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{{"StopChannel", 1, 0, ""},
                                              {"PlaySample", 1, 0, ""},
                                              {"SetRate", 1, 1.5f, ""},
                                              {"SetVolume", 1, 0.75f * 0.8f, ""},
                                              {"SetPan", 1, -0.5f, ""}}));
    EXPECT_EQ(audio->played, std::vector<gxtkSample*>{app->m_Sounds[3]->m_sample});
    EXPECT_EQ(app->m_SfxNext, 1);
}

TEST_F(SoundTest, EffectsGoRoundTwentyFourChannelsStartingAtOne) {
    std::vector<int> channels;
    for (int i = 0; i < 25; ++i) {
        app->p_PlaySFX(3, 1, 1, 0);
        channels.push_back(TakeCalls()[1].channel);
    }
    std::vector<int> expected;
    for (int channel = 1; channel <= 23; ++channel) expected.push_back(channel);
    expected.insert(expected.end(), {0, 1});
    EXPECT_EQ(channels, expected);
}

TEST_F(SoundTest, EffectVolumeStepScalesOrMutes) {
    struct Case {
        int step;
        float gain;
    };
    const Case cases[] = {{0, 1.0f}, {1, 0.75f}, {2, 0.4f}, {7, 1.0f}, {-1, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Settings(2, c.step, 0);
        app->p_PlaySFX(3, 1, 0.8f, 0);
        std::vector<Call> calls = TakeCalls();
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_FLOAT_EQ(calls[3].value, c.gain * 0.8f);
    }

    int next = app->m_SfxNext;
    Settings(1, 3, 0);
    app->p_PlaySFX(3, 1, 0.8f, 0);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(app->m_SfxNext, next);
}

TEST_F(SoundTest, EffectsAreSilentWhenOffOrMissing) {
    for (int mode : {0, 3}) {
        Settings(mode, 0, 0);
        app->p_PlaySFX(3, 1, 1, 0);
    }
    Settings(1, 0, 0);
    for (int n : {4, -1, 100, 123}) app->p_PlaySFX(n, 1, 1, 0);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(app->m_SfxNext, 0);
}

TEST_F(SoundTest, TuneFollowsTheAudioMode) {
    struct Case {
        int mode;
        bool heard;
    };
    const Case cases[] = {{0, false}, {1, true}, {2, false}, {3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Settings(c.mode, 0, 1);
        app->m_TunePlaying = 1;
        app->p_PlayTune(String("Agile"), 1);
        std::vector<Call> expected = {{"StopMusic", -1, 0, ""}};
        if (c.heard) {
            expected.push_back({"PlayMusic", -1, 1, kAgile});
            expected.push_back({"SetMusicVolume", -1, 0.7f, ""});
        }
        EXPECT_EQ(TakeCalls(), expected);
        EXPECT_EQ(app->m_TunePlaying, c.heard ? 1 : 0);
        EXPECT_EQ(app->m_LastTune, String("Agile"));
    }
}

TEST_F(SoundTest, MusicVolumeStepSetsTheVolumeOrLeavesIt) {
    struct Case {
        int step;
        std::vector<float> volumes;
    };
    const Case cases[] = {{0, {1.0f}}, {1, {0.7f}}, {2, {0.4f}}, {3, {0.0f}}, {4, {}}, {-1, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Settings(3, 0, c.step);
        app->p_PlayTune(String("Agile"), 0);
        std::vector<float> volumes;
        for (const Call& call : TakeCalls()) {
            if (call.name == "SetMusicVolume") volumes.push_back(call.value);
        }
        EXPECT_EQ(volumes, c.volumes);
    }
}

TEST_F(SoundTest, MinusOneReplaysTheLastTuneNamed) {
    Settings(2, 0, 0);
    app->p_PlayTune(String("Agile"), 1);
    Settings(1, 0, 0);
    app->p_PlayTune(String("-1"), 0);
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{{"PlayMusic", -1, 0, kAgile}, {"SetMusicVolume", -1, 1.0f, ""}}));
    EXPECT_EQ(app->m_LastTune, String("Agile"));

    app->p_PlayTune(String(""), 0);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(app->m_TunePlaying, 1);

    app->p_StopTune();
    EXPECT_EQ(TakeCalls(), (std::vector<Call>{{"StopMusic", -1, 0, ""}}));
    EXPECT_EQ(app->m_TunePlaying, 0);
}

TEST_F(SoundTest, TunesNeedAMusicStream) {
    kp_VTR_HasMusicStream = 0;
    app->m_TunePlaying = 1;
    app->p_PlayTune(String("Agile"), 0);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(app->m_LastTune, String());
}

TEST_F(SoundTest, EffectsLoadFromThreeDigitFileNames) {
    struct Case {
        int n;
        const char* path;
        bool found;
    };
    const Case cases[] = {
        {5, "brisko://data/sfx/005.wav", true},
        {42, "brisko://data/sfx/042.wav", false},
        {99, "brisko://data/sfx/099.wav", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        app->p_LoadSFX(c.n);
        EXPECT_EQ(TakeCalls(), (std::vector<Call>{{"LoadSample", -1, 0, c.path}}));
        EXPECT_EQ(app->m_Sounds[c.n] != nullptr, c.found);
    }

    c_Sound* placeholder = app->m_Sounds[3];
    app->p_LoadSFX(3);
    ASSERT_NE(app->m_Sounds[3], nullptr);
    EXPECT_NE(app->m_Sounds[3], placeholder);
}

TEST_F(SoundTest, NumbersOutsideTheBankLoadNothing) {
    for (int n : {100, 123, -1}) app->p_LoadSFX(n);
    EXPECT_TRUE(TakeCalls().empty());
}

}  // namespace
