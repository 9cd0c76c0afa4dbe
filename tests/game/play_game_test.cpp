#include "runtime/gc.h"
#include "tests/game/play_fixture.h"

namespace {

// A player who knows one move: from the left wall, jump, and near the top
// of the jump jump again off the wall; the kick carries it over the
// pillars beside the wall, where it lands, scores and waits for the cells
// to crumble under it.
class ScriptedGame : public PlayTest {
protected:
    enum class Phase { Settling, ToWall, Rising, Kicked, Crumbling };

    bool CellsSettled() {
        for (int y = 0; y <= app->m_GridH; ++y) {
            for (int x = 0; x <= app->m_GridW; ++x) {
                if (Cell(x, y)[2] != 0) return false;
            }
        }
        return true;
    }

    bool Standing() { return app->m_Landed == 1 && app->m_Player[4] == 0; }

    void Tap(int key) {
        Press(key);
        Step();
        Release(key);
    }

    void Step() {
        Update();
        ++updates;
        if (updates % 50 == 0) ValidateCollector();
    }

    void ValidateCollector() {
        gc_validate_list(&gc_unmarked_list, "unmarked");
        gc_validate_list(&gc_queued_list, "queued");
        gc_validate_list(&gc_marked_list, "marked");
        gc_validate_list(&gc_free_list, "free");
    }

    // One decision and one update.
    void Play() {
        switch (phase) {
            case Phase::Settling:
                if (CellsSettled()) phase = Phase::ToWall;
                Step();
                break;
            case Phase::ToWall:
                Press(kLeftKey);
                if (app->m_Player[8] > 0 && Standing()) {
                    Tap(kJumpKey);
                    phase = Phase::Rising;
                    break;
                }
                Step();
                break;
            case Phase::Rising:
                if (app->m_Player[4] < -0.2f) {
                    Step();
                    break;
                }
                Release(kLeftKey);
                Tap(kJumpKey);
                phase = Phase::Kicked;
                break;
            case Phase::Kicked:
                if (app->m_TuneStarted == 1) phase = Phase::Crumbling;
                if (app->m_TuneStarted == 0 && Standing()) phase = Phase::ToWall;
                Step();
                break;
            case Phase::Crumbling:
                if (app->m_Player[98] != level || app->m_GameOverTimer != 0) phase = Phase::Settling;
                level = app->m_Player[98];
                Step();
                break;
        }
    }

    Phase phase = Phase::Settling;
    float level = 1;
    int updates = 0;
};

TEST_F(ScriptedGame, PlaysUntilTheLivesRunOutAndReturnsToTheMenu) {
    StartGame();
    int levelsScored = 0;
    while (app->m_GameMode == 10 && updates < 20000) {
        Phase before = phase;
        Play();
        if (before == Phase::Kicked && phase == Phase::Crumbling) ++levelsScored;
    }
    ASSERT_EQ(app->m_GameMode, 2) << "after " << updates << " updates";
    EXPECT_EQ(levelsScored, 3) << "three levels left early";
    EXPECT_FLOAT_EQ(app->m_Player[98], 3);
    EXPECT_FLOAT_EQ(app->m_Player[99], -1);
    EXPECT_GE(app->m_Score, 3);
    Step();
    EXPECT_EQ(app->m_GameMode, 1);
    EXPECT_EQ(app->m_HighScores[40], app->m_Score) << "the game is recorded";
    ValidateCollector();
}

}  // namespace
