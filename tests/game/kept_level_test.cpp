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

struct BarsCase {
    const char* window;
    int width, height;
    float left, top, right, bottom;  // the level's picture
};

// Runners enter from beyond the walls, streaks fall in from above and the
// layout falls away through the floor: of a level kept on screen, nothing
// shows in the bars beside it, which stay in the clear colour.
TEST_F(KeptLevel, NothingOfTheLevelShowsInTheBarsBesideIt) {
    const BarsCase cases[] = {
        {"wide", 1920, 1080, 240, 0, 1680, 1080},
        {"tall", 450, 900, 0, 281.25f, 450, 618.75f},
    };
    for (const BarsCase& c : cases) {
        SCOPED_TRACE(c.window);
        StartThenResize(c.width, c.height);
        float* fromLeft = Object(0);
        float* fromRight = Object(1);
        fromLeft[0] = fromRight[0] = 1;
        fromLeft[1] = -64;
        fromRight[1] = 640 + 64;
        fromLeft[2] = fromRight[2] = 400;
        fromLeft[3] = 4;
        fromRight[3] = -4;
        EndLevelAt(20);

        int frames = 0;
        for (; frames < 60 && app->m_Player[98] == 1; ++frames) {
            Update();
            std::vector<RecordingRenderer::Patch> patches = Render()->patches;
            ASSERT_FALSE(patches.empty());
            // The first draw is the clear over the whole window.
            for (size_t i = 1; i < patches.size(); ++i) {
                const RecordingRenderer::Patch& p = patches[i];
                if (p.Empty()) continue;
                ASSERT_GE(p.left, c.left - 0.5f) << "frame " << frames << ", draw " << i;
                ASSERT_GE(p.top, c.top - 0.5f) << "frame " << frames << ", draw " << i;
                ASSERT_LE(p.right, c.right + 0.5f) << "frame " << frames << ", draw " << i;
                ASSERT_LE(p.bottom, c.bottom + 0.5f) << "frame " << frames << ", draw " << i;
            }
        }
        EXPECT_GT(frames, 20) << "the layout fell for a while";
    }
}

}  // namespace
