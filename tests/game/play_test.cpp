#include "framework/containers/random.h"
#include "tests/game/play_fixture.h"
#include "tests/game/random_draws.h"

namespace {

using Play = PlayTest;

struct WallCase {
    int key;
    float startX, lowestX, highestX, kick;
};

// Pushing into a side wall in the air stops the player against it, slows
// the fall to a slide and shows the slide frame.
TEST_F(Play, StopsAndSlidesAtTheSideWalls) {
    const WallCase cases[] = {
        {kLeftKey, 2.0f, 0.8f, 1.0f, 8},
        {kRightKey, 37.5f, 39.0f, 39.3f, -8},
    };
    for (const WallCase& c : cases) {
        StartGame();
        EmptyLayout();
        PlacePlayer(c.startX, 10);
        Press(c.key);
        Update(60);
        EXPECT_GE(app->m_Player[1], c.lowestX) << c.key;
        EXPECT_LT(app->m_Player[1], c.highestX) << c.key;
        EXPECT_LE(app->m_Player[4], 0.1f) << "the fall is held to a slide";
        EXPECT_LT(app->m_Player[2], 13) << "60 updates of free fall would reach the floor";
        EXPECT_EQ(PlayerFrame(), 23);

        // A jump from the wall kicks the player away from it, whatever the
        // stick says.
        Press(kJumpKey);
        Update();
        EXPECT_FLOAT_EQ(app->m_Player[4], -1.3f);
        EXPECT_FLOAT_EQ(app->m_Player[19], c.kick);
        float atWall = app->m_Player[1];
        Update(10);
        EXPECT_GT((app->m_Player[1] - atWall) * c.kick, 8.0f) << c.key;
        EXPECT_EQ(app->m_Player[5] > 0, c.kick > 0) << "facing away from the wall";
        Release(kJumpKey);
        Release(c.key);
        Update();
    }
}

TEST_F(Play, LandsOnAPlatformAndScoresItsCell) {
    StartGame();
    EmptyLayout();
    Platform(15, 25, 20);
    PlacePlayer(20.2f, 15);
    Update(40);
    EXPECT_FLOAT_EQ(app->m_Player[2], 19);
    EXPECT_FLOAT_EQ(app->m_Player[4], 0);
    EXPECT_EQ(app->m_Landed, 1);
    EXPECT_EQ(app->m_Score, 1);
    EXPECT_FLOAT_EQ(app->m_Player[50], 49);
    EXPECT_GT(Cell(20, 20)[1], 0) << "the landed cell crumbles";
    EXPECT_EQ(Cell(19, 20)[1], 0);
    EXPECT_EQ(app->m_TuneStarted, 1);
}

struct JumpCase {
    const char* name;
    std::function<void()> setUp;
    bool jumps;
};

// A jump stays possible for a few updates after leaving the ground.
TEST_F(Play, JumpNeedsGroundStillCellsAndNoGameOver) {
    const JumpCase cases[] = {
        {"standing", [] {}, true},
        {"cells dropping in", [this] { Cell(10, 10)[2] = -300; }, false},
        {"the last cell settling in this update", [this] {
             Cell(10, 10)[2] = -16;
             Cell(10, 10)[4] = 16;
         }, true},
        {"game over", [this] { app->m_GameOverTimer = 1; }, false},
        {"just off the ground", [this] { PlacePlayer(20, 20); }, true},
        {"in the air", [this] {
             PlacePlayer(20, 10);
             Update(3);
         }, false},
    };
    for (const JumpCase& c : cases) {
        StartGame();
        EmptyLayout();
        PlacePlayer(20, 29);
        Update(2);
        c.setUp();
        Press(kJumpKey);
        Update();
        EXPECT_EQ(app->m_Player[4] < 0, c.jumps) << c.name;
        Release(kJumpKey);
        Update();
    }
}

TEST_F(Play, AHeldJumpKeyJumpsOnce) {
    StartGame();
    EmptyLayout();
    PlacePlayer(20, 29);
    Update(2);
    Press(kJumpKey);
    Update();
    EXPECT_LT(app->m_Player[4], 0);
    ASSERT_TRUE(UpdateUntil([&] { return app->m_Player[4] > 0; }, 40));
    ASSERT_TRUE(UpdateUntil([&] { return app->m_Player[4] == 0; }, 40));
    Update(5);
    EXPECT_EQ(app->m_Player[4], 0) << "still holding the key after landing";
    Release(kJumpKey);
    Update();
    Press(kJumpKey);
    Update();
    EXPECT_LT(app->m_Player[4], 0);
}

TEST_F(Play, FastMovesTwoAndAQuarterTimesAsFarAsSlow) {
    float distance[2];
    const int speeds[] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        StartGame(speeds[i]);
        EmptyLayout();
        PlacePlayer(10, 29);
        Press(kRightKey);
        Update(20);
        Release(kRightKey);
        distance[i] = app->m_Player[1] - 10;
        Update(10);
    }
    EXPECT_GT(distance[0], 0.5f);
    EXPECT_NEAR(distance[1] / distance[0], 2.25f, 1e-4f);
}

// Walking along a platform lands on each cell once: the n-th cell of the
// combo scores n, and the level's last cell plays its fanfare once.
TEST_F(Play, EachNewCellOfAComboScoresOneMore) {
    StartGame();
    EmptyLayout();
    Platform(5, 35, 20);
    PlacePlayer(8, 19);
    app->m_Player[50] = 3;
    Press(kRightKey);
    Update(40);
    Release(kRightKey);
    Update(6);
    int combo = static_cast<int>(app->m_Player[37]);
    EXPECT_GE(combo, 5);
    EXPECT_EQ(app->m_Score, combo * (combo + 1) / 2);
    EXPECT_FLOAT_EQ(app->m_Player[50], 3.0f - static_cast<float>(combo));
    EXPECT_EQ(Count(TakeEffects(), 9), 1);

    float* cell = Cell(app->m_X, 20);
    float crumble = cell[1];
    int score = app->m_Score;
    Update(10);
    EXPECT_EQ(app->m_Score, score) << "standing on scores nothing more";
    EXPECT_FLOAT_EQ(cell[1] - crumble, 50) << "4 a landing and 1 an update";
}

struct RunnerCase {
    float dx, speed, kick;
};

TEST_F(Play, ARunnerKnocksThePlayerBackOnce) {
    const RunnerCase cases[] = {{10, -3, -12}, {-10, 3, 12}};
    for (const RunnerCase& c : cases) {
        StartGame();
        EmptyLayout();
        PlacePlayer(20, 29);
        Update(2);
        TakeEffects();
        app->m_Player[37] = 4;
        float* runner = Object(0);
        runner[0] = 1;
        runner[1] = app->m_Player[28] + c.dx;
        runner[2] = app->m_Player[29];
        runner[3] = c.speed;
        runner[4] = 0;
        Update();
        EXPECT_EQ(app->m_Player[37], 0) << "the combo starts again";
        EXPECT_FLOAT_EQ(app->m_Player[19], c.kick);
        EXPECT_FLOAT_EQ(runner[3], c.speed < 0 ? -0.5f : 0.5f);
        EXPECT_FLOAT_EQ(runner[4], 4) << "the runner drops away";
        EXPECT_EQ(Count(TakeEffects(), 2), 1);
        int burst = 0;
        for (int slot = 0; slot <= 250; ++slot) burst += app->m_Particles[10 * slot] == 1 ? 1 : 0;
        EXPECT_EQ(burst, 10);

        float hitAt = app->m_Player[1];
        Update(4);
        EXPECT_GT((app->m_Player[1] - hitAt) * c.kick, 0) << "knocked the runner's way";
        EXPECT_EQ(PlayerFrame(), c.kick < 0 ? 27 : 26);

        runner[1] = app->m_Player[28];
        runner[2] = app->m_Player[29];
        app->m_Player[37] = 3;
        Update();
        EXPECT_EQ(app->m_Player[37], 3) << "a falling runner cannot hit again";
        EXPECT_EQ(Count(TakeEffects(), 2), 0);
    }
}

struct LevelEndCase {
    const char* name;
    float cellsLeft, lives, streak;
    int sound;
};

// Coming down to the bottom row after scoring ends the level: the layout
// falls away behind streaks and the next one is built.
TEST_F(Play, BackOnTheBottomRowEndsTheLevel) {
    const LevelEndCase cases[] = {
        {"cleared", 0, 2, 11, 7},
        {"left early", 49, 1, 10, 8},
    };
    for (const LevelEndCase& c : cases) {
        StartGame();
        EmptyLayout();
        PlacePlayer(20, 27);
        app->m_TuneStarted = 1;
        app->m_Player[50] = c.cellsLeft;
        app->m_Player[37] = 3;
        Object(5)[3] = 4;  // left behind by a runner that has gone
        TakeEffects();
        audio->musicStops = 0;
        ASSERT_TRUE(UpdateUntil([&] { return app->m_TuneStarted == 0; }, 60)) << c.name;
        EXPECT_FLOAT_EQ(app->m_Player[99], c.lives) << c.name;
        EXPECT_EQ(Count(TakeEffects(), c.sound), 1) << c.name;
        EXPECT_EQ(audio->musicStops, 1);
        int streaks = 0;
        for (int slot = 0; slot <= 100; ++slot) streaks += Object(slot)[0] == c.streak ? 1 : 0;
        EXPECT_EQ(streaks, 101) << "every free object slot";
        EXPECT_EQ(Object(5)[3], 0) << "streaks fall and rise straight";
        EXPECT_FLOAT_EQ(app->m_Player[37], 0);
        EXPECT_FLOAT_EQ(app->m_Player[45], 180);
        EXPECT_GT(Cell(20, 10)[2], 0) << "the layout falls away";

        ASSERT_TRUE(UpdateUntil([&] { return app->m_Player[98] == 2; }, 200)) << c.name;
        EXPECT_FLOAT_EQ(app->m_Player[50], 50);
        EXPECT_FLOAT_EQ(app->m_Player[99], c.lives);
    }
}

// A lost life's streaks take three draws each, in slot order: x from the
// first, y from the second, the fall speed from the third. They have fallen
// once by the end of the update.
TEST_F(Play, FallingStreaksTakeTheirPlaceFromTheDraws) {
    StartGame();
    EmptyLayout();
    PlacePlayer(20, static_cast<float>(app->m_GridH - 1));  // lands on the floor in the next update
    app->m_TuneStarted = 1;
    app->m_Player[50] = 49;
    app->m_Player[35] = 1;  // on the floor already, so it does not flicker
    const int seed = 2024;
    kp_random_Seed = seed;
    Update();
    ASSERT_EQ(app->m_TuneStarted, 0) << "the level ends in this update";
    std::vector<float> r = Draws(seed, 6);
    const float speedFactor = app->m_Player[21];
    for (int slot = 0; slot < 2; ++slot) {
        SCOPED_TRACE(slot);
        const float* streak = Object(slot);
        float fall = 6 + 6 * r[3 * slot + 2];
        EXPECT_EQ(streak[0], 10);
        EXPECT_FLOAT_EQ(streak[1], r[3 * slot] * kp_VTR_jscrw);
        EXPECT_FLOAT_EQ(streak[2], r[3 * slot + 1] * (64 - kp_VTR_jscrh) - 64 + 2 * fall * speedFactor);
        EXPECT_FLOAT_EQ(streak[4], fall);
    }
}

// At the start of a level the player stands on the bottom row; that ends
// nothing before a cell is scored.
TEST_F(Play, TheBottomRowEndsNothingBeforeACellIsScored) {
    StartGame();
    EmptyLayout();
    Update(30);
    EXPECT_FLOAT_EQ(app->m_Player[98], 1);
    EXPECT_FLOAT_EQ(app->m_Player[99], 2);
    EXPECT_EQ(app->m_LevelEnd, 1);
    EXPECT_EQ(app->m_Landed, 1);
}

TEST_F(Play, LosingTheLastLifeEndsTheGameAfterNinetyUpdates) {
    StartGame();
    EmptyLayout();
    PlacePlayer(20, 27);
    app->m_TuneStarted = 1;
    app->m_Player[50] = 49;
    app->m_Player[99] = 0;
    app->m_Score = 123;
    ASSERT_TRUE(UpdateUntil([&] { return app->m_GameOverTimer == 1; }, 60));
    EXPECT_FLOAT_EQ(app->m_Player[99], -1);
    EXPECT_EQ(app->m_GameOverTime, 1);
    Update(88);
    EXPECT_EQ(app->m_GameMode, 10);
    EXPECT_EQ(app->m_KeyUsed, 1) << "the overlay holds all input";
    Update();
    EXPECT_EQ(app->m_GameMode, 2);
    EXPECT_EQ(app->m_GameOverTime, 75);
    EXPECT_EQ(app->m_TunePlaying, 0);
    Update();
    EXPECT_EQ(app->m_GameMode, 1);
    EXPECT_EQ(app->m_GameOverTime, 73) << "the overlay fades out over the menu";
    EXPECT_EQ(app->m_HighScores[40], 123) << "the finished game is recorded";
    Update(40);
    EXPECT_EQ(app->m_GameOverTime, 0);
}

struct OverlayCase {
    const char* name;
    int quitChoice, tableScores;
    const char* words;
    const char* highscore;
};

TEST_F(Play, GameOverOverlaySaysHowTheGameEnded) {
    const OverlayCase cases[] = {
        {"lives ran out", 0, 0, "GAMEOVER", "NewHighscore1st!"},
        {"quit from the pause menu", -1, 0, "QuitGame", "NewHighscore1st!"},
        {"not placed", 0, 1000, "GAMEOVER", ""},
    };
    for (const OverlayCase& c : cases) {
        app->m_GameMode = 1;
        app->m_QuitChoice = c.quitChoice;
        app->m_Score = 50;
        for (int i = 10; i < 20; ++i) app->m_HighScores[i] = c.tableScores;
        app->m_GameOverTime = 30;
        app->m_DrawCount = 0;
        app->p_GameOver();
        EXPECT_EQ(Glyphs(4), c.words) << c.name;
        EXPECT_EQ(Glyphs(2), c.highscore) << c.name;
        EXPECT_FLOAT_EQ(app->m_DrawList[0], -3717) << "the darkening comes first";
        EXPECT_FLOAT_EQ(app->m_DrawList[7], 0.7f);
        EXPECT_EQ(app->m_GameOverTime, 28) << "fading out over the menu";
    }
}

struct ChaseCase {
    int score;
    const char* line;
};

// The line names the place being chased and the score that takes it.
TEST_F(Play, ChaseLineClimbsTheTopTable) {
    for (int k = 0; k < 10; ++k) app->m_HighScores[10 + k] = 1000 - 100 * k;
    const ChaseCase cases[] = {
        {50, "11th00000100"}, {100, "11th00000100"}, {150, "9th00000200"}, {950, "1st00001000"}, {5000, "1st00001000"},
    };
    for (const ChaseCase& c : cases) {
        app->m_Score = c.score;
        app->m_DrawCount = 0;
        app->p_ScoreDisplay();
        EXPECT_EQ(Glyphs(1), c.line) << c.score;
    }
    for (int k = 0; k < 10; ++k) app->m_HighScores[10 + k] = k < 3 ? 300 - 100 * k : 0;
    app->m_Score = 0;
    app->m_DrawCount = 0;
    app->p_ScoreDisplay();
    EXPECT_EQ(Glyphs(1), "3rd00000100") << "empty entries count as beaten";
}

TEST_F(Play, ScoreEasesTowardTheRealOneAndLivesShow) {
    app->m_Player[99] = 2;
    app->m_Score = 600;
    app->p_ScoreDisplay();
    app->m_DrawCount = 0;
    app->p_ScoreDisplay();
    EXPECT_EQ(app->m_ShownScore, 183) << "a sixth of the way each time";
    EXPECT_EQ(Glyphs(2), "00000183");
    std::vector<float> lives;
    for (int at = 0; at + 15 <= app->m_DrawCount; at += 15) {
        const float* command = app->m_DrawList.Data() + at;
        if (command[0] == 97 && command[6] == 11) lives.push_back(command[1]);
    }
    EXPECT_EQ(lives, (std::vector<float>{400, 432}));

    app->m_ShownScore = 595;
    app->p_ScoreDisplay();
    EXPECT_EQ(app->m_ShownScore, 600) << "close enough snaps";
    app->m_HideHud = 1;
    app->m_DrawCount = 0;
    app->p_ScoreDisplay();
    EXPECT_EQ(Glyphs(2), "");
}

TEST_F(Play, FreeObjectSlotIsTheFirstWithinTheLimit) {
    EXPECT_EQ(app->p_FreeObj(100), 0);
    for (int slot = 0; slot <= 100; ++slot) Object(slot)[0] = slot < 3 ? 1 : 0;
    EXPECT_EQ(app->p_FreeObj(100), 30);
    EXPECT_EQ(app->p_FreeObj(2), -1);
    EXPECT_EQ(app->p_FreeObj(-1), -1);
    for (int slot = 0; slot <= 500; ++slot) Object(slot)[0] = 1;
    EXPECT_EQ(app->p_FreeObj(600), -1) << "the search stops at slot 500";
}

TEST_F(Play, GimmeAddsPointsWithAMarker) {
    app->m_Score = 10;
    app->p_Gimme(5, 100, 200);
    EXPECT_EQ(app->m_Score, 15);
    int markers = 0;
    for (int slot = 0; slot <= 250; ++slot) {
        const float* particle = app->m_Particles.Data() + 10 * slot;
        if (particle[0] == 99 && particle[9] == 5 && particle[1] == 100 && particle[2] == 200) ++markers;
    }
    EXPECT_EQ(markers, 1);
}

}  // namespace
