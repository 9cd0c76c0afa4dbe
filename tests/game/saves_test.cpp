#include "tests/game/game_fixture.h"

namespace {

class Saves : public GameTest {
protected:
    std::vector<std::string> Fields() {
        std::vector<std::string> fields;
        std::string text = host->state.ToUtf8(), piece;
        for (char c : text) {
            if (c == '|') {
                fields.push_back(piece);
                piece.clear();
            } else {
                piece += c;
            }
        }
        return fields;
    }

    std::string Joined(const std::vector<std::string>& fields) {
        std::string text;
        for (const std::string& field : fields) text += field + "|";
        return text;
    }

    // Loads the host's state again and returns what the game printed.
    std::string Reload() {
        ::testing::internal::CaptureStdout();
        app->p_Load();
        return ::testing::internal::GetCapturedStdout();
    }
};

TEST_F(Saves, FirstRunWritesTheDefaults) {
    app->p_Save();
    std::vector<std::string> fields = Fields();
    ASSERT_EQ(fields.size(), 203u);
    std::vector<std::string> settings(fields.begin(), fields.begin() + 26);
    EXPECT_EQ(Joined(settings), "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|");
    for (size_t i = 26; i < fields.size(); ++i) EXPECT_EQ(fields[i], "0") << i;
    EXPECT_EQ(host->state.ToUtf8().back(), '|');
}

TEST_F(Saves, WhatIsSavedLoadsBackTheSame) {
    for (int flag = 0; flag < 32; ++flag) app->m_Badges[flag] = true;
    app->m_Badges[200] = true;
    app->m_Settings[6] = 2;
    app->m_Settings[15] = 1;
    for (int i = 0; i < 60; ++i) app->m_HighScores[i] = 1000 - i * 7;
    app->p_Save();
    EXPECT_EQ(Fields()[26], "-1") << "flags 0 to 31 make the word -1";

    Array<int> settings = app->m_Settings.Resize(25);
    Array<int> scores = app->m_HighScores.Resize(150);
    for (int i = 0; i < 150; ++i) app->m_HighScores[i] = 0;
    for (int i = 0; i < 256; ++i) app->m_Badges[i] = false;
    EXPECT_EQ(Reload(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Settings[i], settings[i]) << i;
    for (int i = 0; i < 60; ++i) EXPECT_EQ(app->m_HighScores[i], scores[i]) << i;
    EXPECT_TRUE(app->m_Badges[31]);
    EXPECT_TRUE(app->m_Badges[200]);
    EXPECT_FALSE(app->m_Badges[199]);
}

TEST_F(Saves, ABrokenSectionResetsOnlyItself) {
    app->m_Settings[6] = 2;
    app->m_Badges[3] = true;
    app->m_HighScores[10] = 500;  // the Top table of speed 2
    app->m_HighScores[0] = 77;
    app->p_Save();
    std::vector<std::string> fields = Fields();
    fields[3] = "7";
    fields[35 + 21 + 1] = "9";  // the Last entry of the first pair of block 1
    host->state = String(Joined(fields).c_str());
    EXPECT_EQ(Reload(), "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(app->m_Settings[5], 1);
    EXPECT_EQ(app->m_Settings[6], 0);
    EXPECT_EQ(app->m_Settings[10], 64) << "clamped after the reset";
    EXPECT_TRUE(app->m_Badges[3]);
    EXPECT_EQ(app->m_HighScores[10], 0) << "the broken block is cleared";
    EXPECT_EQ(app->m_HighScores[0], 77);
}

TEST_F(Saves, ShortStringsReadWhatTheyHold) {
    // A split into twenty-five pieces holds no settings: the first nine are
    // a badge section.
    std::string text = "5|0|0|0|0|0|0|0|5";
    for (int i = 9; i < 25; ++i) text += "|0";
    host->state = String(text.c_str());
    EXPECT_EQ(Reload(), "Badges Loaded\nHighscores Loaded\n");
    EXPECT_TRUE(app->m_Badges[0]);
    EXPECT_TRUE(app->m_Badges[2]);
    EXPECT_EQ(app->m_Settings[5], 1);

    host->state = String("garbage");
    EXPECT_EQ(Reload(), "Highscores Loaded\n");
}

// A state file of megabytes once took seconds and a gigabyte to split into
// fields; only the fields that are read are split off now.
TEST_F(Saves, AHugeStateIsReadWithoutSplittingWhatFollowsTheFieldsRead) {
    app->m_Settings[6] = 2;
    app->m_HighScores[20] = 500;  // the Top table of speed 3, in block 2
    app->p_Save();
    std::string tail;
    for (int i = 0; i < 1000000; ++i) tail += "12|";
    host->state = host->state + String(tail.c_str());
    app->m_Settings[6] = 0;
    app->m_HighScores[20] = 0;
    int allocated = gc_new_bytes;
    EXPECT_EQ(Reload(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_LT(gc_new_bytes - allocated, 4096) << "bytes of collected objects for the fields";
    EXPECT_EQ(app->m_Settings[6], 2);
    EXPECT_EQ(app->m_HighScores[20], 500);
}

TEST_F(Saves, FinishedGamesEnterTheTables) {
    app->m_Difficulty = 2;
    const int top[] = {100, 50, 50, 20, 10, 0, 0, 0, 0, 0};
    for (int n = 0; n < 10; ++n) app->m_HighScores[10 + n] = top[n];
    app->m_Score = 100;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_NewRank, 1) << "an equal score goes below";
    EXPECT_EQ(app->m_HighScores[11], 100);
    EXPECT_EQ(app->m_HighScores[12], 50);
    EXPECT_EQ(app->m_HighScores[40], 100) << "newest first in the Last table";
    EXPECT_EQ(app->m_ScoreTable, 40);
    app->m_Score = 50;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_NewRank, 4);
    EXPECT_EQ(app->m_HighScores[40], 50);
    EXPECT_EQ(app->m_HighScores[41], 100);
    EXPECT_EQ(host->saves, 2);

    app->m_Difficulty = 1;
    app->m_Score = 0;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_NewRank, -1) << "a zero enters no all-zero Top table";
    EXPECT_EQ(app->m_HighScores[30], 0);
}

}  // namespace
