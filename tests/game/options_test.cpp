#include "tests/game/game_fixture.h"

namespace {

class Options : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        app->m_OptionsOpen = 1;
        Update(31);  // slid in
    }

    void Tap(int key) {
        Press(key);
        Update();
        Release(key);
        Update();
    }
};

TEST_F(Options, SoundRowCyclesThroughItsSteps) {
    app->m_OptionCursor = 1;
    const int start = app->m_Settings[6];
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        Tap(32);
        steps.push_back(app->m_Settings[6]);
    }
    EXPECT_EQ(steps, (std::vector<int>{(start + 1) % 4, (start + 2) % 4, (start + 3) % 4, start}));
    EXPECT_EQ(host->saves, 0) << "nothing is saved until the box closes";
    const std::pair<int, const char*> texts[] = {{0, "Sound : [-  -  - Loud]"}, {1, "Sound : [-  - Normal-]"},
                                                 {2, "Sound : [- Quiet -  -]"}, {3, "Sound : [OFF  -  -  -]"}};
    for (auto [step, text] : texts) {
        app->m_Settings[6] = step;
        EXPECT_EQ(app->OptionText(1).ToUtf8(), text);
    }
}

TEST_F(Options, RowsDoWhatTheySay) {
    app->m_OptionCursor = 2;
    int music = app->m_Settings[7];
    Tap(32);
    EXPECT_EQ(app->m_Settings[7], (music + 1) % 4);
    app->m_OptionCursor = 3;
    Tap(32);
    EXPECT_EQ(app->m_Fullscreen, 1);
    EXPECT_TRUE(host->fullScreen);
    app->m_OptionCursor = 4;
    int left = app->m_Settings[15];
    Tap(32);
    EXPECT_EQ(app->m_Settings[15], 1 - left);
}

// Every fire code acts on the row under the cursor, once per press.
TEST_F(Options, EachFireCodeActsOnTheRow) {
    const std::pair<int, int> codeKeys[] = {{10, 90}, {11, 88}, {12, 67}, {13, 86}, {14, 66}, {15, 78}};
    app->m_OptionCursor = 4;
    for (auto [code, key] : codeKeys) {
        SCOPED_TRACE(code);
        int left = app->m_Settings[15];
        Tap(key);
        EXPECT_EQ(app->m_Settings[15], 1 - left);
    }
}

TEST_F(Options, FireHeldOnTheWindowRowFlipsOnce) {
    app->m_OptionCursor = 3;
    Press(13);
    int flips = 0;
    for (int i = 0, last = app->m_Fullscreen; i < 90; ++i, last = app->m_Fullscreen) {
        Update();
        flips += app->m_Fullscreen != last;
    }
    Release(13);
    EXPECT_EQ(flips, 1);
}

// Keeps the music volumes the game asks the device for.
class MusicVolumeLog : public gxtkAudio {
public:
    std::vector<float> volumes;

    int SetMusicVolume(float volume) override {
        volumes.push_back(volume);
        return 0;
    }
};

TEST_F(Options, MusicRowAppliesTheVolumeOfEachStep) {
    auto* audio = new MusicVolumeLog;
    kp_audio_SetAudioDevice(audio);
    app->m_Settings[7] = 0;
    app->m_OptionCursor = 2;
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        Tap(32);
        steps.push_back(app->m_Settings[7]);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(audio->volumes, (std::vector<float>{0.7f, 0.4f, 0.0f, 1.0f})) << "Normal, Quiet, OFF, Loud";
}

TEST_F(Options, CursorRunsFromBackToTheRightStick) {
    for (int i = 0; i < 8; ++i) Tap(40);
    EXPECT_EQ(app->m_OptionCursor, 5) << "no overscan or quit row on the desktop";
    for (int i = 0; i < 8; ++i) Tap(38);
    EXPECT_EQ(app->m_OptionCursor, 0);
}

// On the console the Quit row below the others takes the cursor too, and
// fire there ends the program.
TEST_F(Options, OnTheConsoleTheCursorReachesTheQuitRow) {
    kp_VTR_isOuya = 1;
    for (int i = 0; i < 8; ++i) Tap(40);
    EXPECT_EQ(app->m_OptionCursor, 6);
    EXPECT_EXIT(
        {
            Press(32);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

// Without a music stream there is no Music row: the rows below move up into
// its place and the cursor steps over it.
TEST_F(Options, WithoutAMusicStreamTheRowsCloseUp) {
    kp_VTR_HasMusicStream = 0;
    app->m_OptionCursor = 1;
    Tap(40);
    EXPECT_EQ(app->m_OptionCursor, 3);
    Tap(38);
    EXPECT_EQ(app->m_OptionCursor, 1);
    // The second row's bar, 40 below the first at 130, is the Window row's.
    host->MouseEvent(kMouseDown, 0, 320, 176);
    Update();
    EXPECT_EQ(app->m_OptionCursor, 3);
    EXPECT_EQ(app->m_Fullscreen, 1);
}

TEST_F(Options, ClosingSavesOnce) {
    Tap(27);
    EXPECT_EQ(app->m_OptionsOpen, 0);
    EXPECT_EQ(host->saves, 1);
    Update(31);
    EXPECT_EQ(app->m_OptionsTimer, 0);
    EXPECT_EQ(host->saves, 1);
}

class Pause : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        app->m_GameMode = 11;
        Update();
        Press(27);
        Update();
        Release(27);
        Update(20);
    }
};

TEST_F(Pause, BackPausesAndContinueSlidesOut) {
    ASSERT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseState, 1);
    Press(27);
    Update();
    Release(27);
    EXPECT_EQ(app->m_PauseState, -1);
    Update(40);
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(app->m_GameMode, 10);
}

TEST_F(Pause, HeldBackWaitsForRelease) {
    app->m_KeyUsed = 1;
    Press(32);  // another key still held keeps the latch
    Press(27);
    Update(5);
    EXPECT_EQ(app->m_PauseState, 1);
}

TEST_F(Pause, QuitEndsTheGameThroughGameOver) {
    app->m_PauseCursor = -1;
    Press(32);
    Update();
    Release(32);
    EXPECT_EQ(app->m_QuitChoice, -1);
    EXPECT_EQ(app->m_GameOverTimer > 0, true);
    EXPECT_EQ(app->m_Paused, 0);
}

TEST_F(GameTest, QuitDialogOnTheConsole) {
    kp_VTR_isOuya = 1;
    FinishLoading();
    app->m_GameMode = 4;
    Press(90);
    Update();
    EXPECT_EQ(app->m_GameMode, 1) << "Z (button 10) ignores the request";
    Release(90);
    Update();
    app->m_GameMode = 4;
    EXPECT_EXIT(
        {
            Press(88);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
