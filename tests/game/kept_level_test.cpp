// A level in play while the window changes shape: kept whole on screen in
// its own shape until it ends, and the next one laid out for the window.
#include "tests/game/play_fixture.h"

namespace {

class KeptLevel : public PlayTest {
protected:
    // A game started in a 640 x 480 window, which then takes another size.
    void StartThenResize(int width, int height) {
        Resize(640, 480);
        StartGame();
        Resize(width, height);
    }

    void Resize(int width, int height) {
        host->width = width;
        host->height = height;
        Render();
        FinishLoading();
    }

    // Ends the level in the next update, with the player back on the floor
    // and a life lost: streaks fall in from above.
    void EndLevelAt(float column) {
        EmptyLayout();
        PlacePlayer(column, static_cast<float>(app->m_GridH - 1));
        app->m_TuneStarted = 1;
        app->m_Player[50] = 49;
    }
};

struct NextGridCase {
    const char* window;
    int width, height;
    int columns;
};

// The player keeps their column into the next level, which the window's new
// shape may have made narrower, wider or of another height: they stand on
// its floor, inside its walls.
TEST_F(KeptLevel, TheNextLevelStandsThePlayerInsideItsWalls) {
    const NextGridCase cases[] = {
        {"full screen on 5:4", 1280, 1024, 37},
        {"narrow and tall", 600, 1200, 22},
        {"full screen on 16:9", 1920, 1080, 40},
    };
    for (const NextGridCase& c : cases) {
        SCOPED_TRACE(c.window);
        StartThenResize(c.width, c.height);
        ASSERT_EQ(app->m_GridW, 40) << "the level runs on in its own shape";
        EndLevelAt(38.5f);
        ASSERT_TRUE(UpdateUntil([&] { return app->m_Player[98] == 2; }, 200));
        ASSERT_EQ(app->m_GridW, c.columns);
        ASSERT_EQ(app->m_GridH, static_cast<int>(kp_VTR_jscrh / 16));
        const float floorRow = static_cast<float>(app->m_GridH - 1);
        EXPECT_GE(app->m_Player[1], 1);
        EXPECT_LE(app->m_Player[1], c.columns - 1);
        EXPECT_FLOAT_EQ(app->m_Player[2], floorRow);

        int score = app->m_Score;
        Update(20);
        EXPECT_EQ(app->m_Landed, 1) << "standing on the floor";
        EXPECT_FLOAT_EQ(app->m_Player[2], floorRow);
        EXPECT_EQ(app->m_Score, score) << "the floor and walls score nothing";
    }
}

}  // namespace
