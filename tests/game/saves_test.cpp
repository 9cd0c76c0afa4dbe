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

// The on-screen pad may be placed down to 32 from the edges; there it
// stays after a reload. Only a position the pad never takes gets the
// default.
TEST_F(Saves, APlacedPadKeepsItsPlaceAfterAReload) {
    const struct {
        int saved, loaded;
    } cases[] = {{32, 32}, {63, 63}, {64, 64}, {500, 500}, {31, 64}, {0, 64}};
    for (const auto& c : cases) {
        app->m_Settings[10] = c.saved;
        app->m_Settings[11] = c.saved;
        app->p_Save();
        Reload();
        EXPECT_EQ(app->m_Settings[10], c.loaded) << c.saved;
        EXPECT_EQ(app->m_Settings[11], c.loaded) << c.saved;
    }
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

// A player's file with real scores. Each block's checksum is worked out by
// hand, weighting pair k's first value by k + 4 and its second by b + k + 3:
// block 0 (Top and Last of Slow):
//   4*1275 + 5*820 + 6*311 + 7*96 = 11738; 3*96 + 4*1275 + 5*820 = 9488; 21226
// block 1 (Normal), both weights k + 4:
//   4*2040 + 5*1500 + 6*990 + 7*640 + 8*415 + 9*230 + 10*120 + 11*55 + 12*12
//   + 13*3 = 33458; 4*3 + 5*640 + 6*12 + 7*2040 + 8*55 + 9*990 + 10*120
//   + 11*1500 + 12*415 + 13*230 = 52584; 86042
// block 2 (Fast): 4*5012 + 5*77 = 20433; 5*77 + 6*5012 = 30457; 50890
// Blocks 3 to 5 are written from entries 30 to 59, the Last tables, whose
// pairs have nothing second:
// block 3: 4*96 + 5*1275 + 6*820 = 11679
// block 4: the Last of Normal weighted as in block 1, 52584
// block 5: 4*77 + 5*5012 = 25368
const std::string kScoredState =
    "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|"
    "0|0|0|0|0|0|0|0|0|"
    "1275|96|820|1275|311|820|96|0|0|0|0|0|0|0|0|0|0|0|0|0|21226|"
    "2040|3|1500|640|990|12|640|2040|415|55|230|990|120|120|55|1500|12|415|3|230|86042|"
    "5012|77|77|5012|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|50890|"
    "96|0|1275|0|820|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|11679|"
    "3|0|640|0|12|0|2040|0|55|0|990|0|120|0|1500|0|415|0|230|0|52584|"
    "77|0|5012|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|25368|"
    "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|"
    "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";

TEST_F(Saves, AFileWithScoresLoadsAndIsSavedBackUnchanged) {
    host->state = String(kScoredState.c_str());
    EXPECT_EQ(Reload(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    const std::pair<int, int> entries[] = {{0, 1275}, {3, 96},    {30, 96}, {32, 820},  {10, 2040}, {19, 3}, {40, 3},
                                           {49, 230}, {20, 5012}, {21, 77}, {50, 77},   {51, 5012}, {60, 0}};
    for (auto [entry, score] : entries) EXPECT_EQ(app->m_HighScores[entry], score) << entry;
    app->p_Save();
    EXPECT_EQ(host->state.ToUtf8(), kScoredState);
}

TEST_F(Saves, OneChangedDigitRejectsOnlyItsBlock) {
    std::string changed = kScoredState;
    changed.replace(changed.find("|990|12|"), 8, "|991|12|");  // Top entry 2 of Normal
    host->state = String(changed.c_str());
    for (int k = 0; k < 10; ++k) app->m_HighScores[10 + k] = app->m_HighScores[40 + k] = 7;
    EXPECT_EQ(Reload(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(app->m_HighScores[10 + k], 0) << k;
        EXPECT_EQ(app->m_HighScores[40 + k], 0) << k;
    }
    EXPECT_EQ(app->m_HighScores[0], 1275);
    EXPECT_EQ(app->m_HighScores[30], 96);
    EXPECT_EQ(app->m_HighScores[20], 5012);
    EXPECT_EQ(app->m_HighScores[51], 5012);
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
