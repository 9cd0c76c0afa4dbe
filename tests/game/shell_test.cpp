#include <cstdio>

#include "tests/game/game_fixture.h"

namespace {

class Shell : public GameTest {};

TEST_F(Shell, StartsInTheTitleModeBehindTheLoader) {
    EXPECT_EQ(app->m_GameMode, 1);
    EXPECT_EQ(app->m_LoaderStep, 1);
    EXPECT_EQ(app->m_Difficulty, 2);
    EXPECT_EQ(app->m_Settings[5], 1);
    EXPECT_EQ(app->m_SfxVoice[32], 32);
    EXPECT_EQ(host->UpdateRate(), 60);
    EXPECT_EQ(app->m_PlayerName.ToUtf8(), "N/A");
    FinishLoading();
    EXPECT_EQ(app->m_LoaderStep, 0);
    EXPECT_EQ(app->m_GameMode, 1);
}

struct FitCase {
    int width, height;
    float virtualWidth, virtualHeight, scale;
    int landscape;
};

// The larger of the two scales wins, and the virtual screen takes the
// window's shape at that scale.
TEST_F(Shell, FitsTheDesignToTheWindowsShape) {
    const FitCase cases[] = {
        {640, 480, 640, 480, 1, 1},
        {1280, 960, 640, 480, 2, 1},
        {1920, 1080, 640, 360, 3, 1},
        {800, 800, 480, 480, 1.6666666f, 1},
        // Taller than wide: the design counts 1.5 times larger.
        {480, 640, 540, 720, 0.8888889f, 0},
        {600, 1200, 360, 720, 1.6666666f, 0},
    };
    for (const FitCase& c : cases) {
        host->width = c.width;
        host->height = c.height;
        Update();
        Render();
        EXPECT_FLOAT_EQ(kp_VTR_jscrw, c.virtualWidth) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(kp_VTR_jscrh, c.virtualHeight) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(app->m_ScaleX, c.scale) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(app->m_ScaleY, c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(app->m_Landscape, c.landscape) << c.width << "x" << c.height;
    }
}

struct KeptLevelCase {
    int width, height;
    float scale, left, top;
};

// A running level keeps the virtual screen it was laid out for whatever the
// window becomes, scaled whole into it and centred; the pointer is read
// against that picture, and the next level takes the window's own shape.
TEST_F(Shell, ARunningLevelStaysWholeOnScreenWhenTheWindowChanges) {
    const KeptLevelCase cases[] = {
        {1920, 1080, 2.25f, 240, 0},      // full screen on a wide screen
        {450, 900, 0.703125f, 0, 281.25f},  // dragged narrow
        {1280, 960, 2, 0, 0},             // the same shape, larger
    };
    for (const KeptLevelCase& c : cases) {
        host->width = 640;
        host->height = 480;
        Render();
        FinishLoading();
        app->m_GameMode = 11;
        Update();
        ASSERT_EQ(app->m_GridW, 40);
        ASSERT_EQ(app->m_GridH, 30) << c.width << "x" << c.height;

        host->width = c.width;
        host->height = c.height;
        Update();
        Render();
        FinishLoading();
        EXPECT_FLOAT_EQ(kp_VTR_jscrw, 640) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(kp_VTR_jscrh, 480) << c.width << "x" << c.height;
        app->p_CLS2D(0, 0, 0, 1);
        app->p_Rect(0, 0, 640, 480);
        std::vector<std::string> rects = Render()->Only("rect");
        ASSERT_EQ(rects.size(), 2u);
        char expected[80];
        std::snprintf(expected, sizeof expected, "rect %g %g %g %g", c.left, c.top, 640 * c.scale, 480 * c.scale);
        EXPECT_EQ(rects[1], expected) << "the level's screen, whole and centred";

        host->MouseEvent(6, -1, c.left + 100 * c.scale, c.top + 50 * c.scale);
        Update();
        EXPECT_EQ(app->m_MouseX, 100);
        EXPECT_EQ(app->m_MouseY, 50);

        app->p_NewLay();
        Render();
        EXPECT_EQ(app->m_GridW, static_cast<int>(kp_VTR_jscrw / 16)) << "the next level fits the window";
        EXPECT_EQ(app->m_GridH, static_cast<int>(kp_VTR_jscrh / 16));
        EXPECT_FLOAT_EQ(app->m_ScreenLeft, 0);
        EXPECT_FLOAT_EQ(app->m_ScreenTop, 0);

        app->m_GameMode = 1;
        Render();
    }
}

// A minimised window has no area: the last fit stays, so a level started
// meanwhile is laid out for it, the pointer reads against it, and the
// window's return fits as before.
TEST_F(Shell, AWindowWithNoAreaKeepsTheLastFit) {
    Render();
    FinishLoading();
    host->width = 0;
    host->height = 0;
    Render();
    FinishLoading();
    app->m_GameMode = 11;
    Update();
    EXPECT_FLOAT_EQ(kp_VTR_jscrw, 640);
    EXPECT_FLOAT_EQ(kp_VTR_jscrh, 480);
    EXPECT_EQ(app->m_GridW, 40);
    EXPECT_EQ(app->m_GridH, 30);
    Render();
    host->MouseEvent(6, -1, 100, 50);
    Update();
    EXPECT_EQ(app->m_MouseX, 100);
    EXPECT_EQ(app->m_MouseY, 50);

    host->width = 1920;
    host->height = 1080;
    Render();
    FinishLoading();
    EXPECT_FLOAT_EQ(app->m_ScaleX, 2.25f) << "the level, kept whole";
    EXPECT_FLOAT_EQ(app->m_ScreenLeft, 240);
    app->p_NewLay();
    Render();
    EXPECT_EQ(app->m_GridW, 40) << "the next level fits the window";
    EXPECT_EQ(app->m_GridH, 22);
}

TEST_F(Shell, SizeChangeRestartsTheLoader) {
    FinishLoading();
    Render();
    EXPECT_EQ(app->m_LoaderStep, 0);
    host->width = 1024;
    host->height = 768;
    Update();
    Render();
    EXPECT_EQ(app->m_LoaderStep, 1);
}

TEST_F(Shell, ReplayMapsVirtualPixelsWithScaleAndOverscan) {
    host->width = 1280;
    host->height = 960;
    kp_VTR_overscan = 16;
    FinishLoading();
    Render();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Rect(10, 20, 30, 40);
    app->p_Oval(100, 100, 10, 5);
    app->p_Line(0, 0, 640, 480);
    app->p_Tri(0, 0, 10, 0, 0, 10);
    app->p_SetCol(255, 0, 0, 0.5f);
    app->p_Rect(0, 0, 1, 1);
    RecordingRenderer* renderer = Render();
    // (1280 - 32) / 640 = 1.95; y offsets by 16 x 960 / 1280 = 12.
    std::vector<std::string> rects = renderer->Only("rect");
    ASSERT_EQ(rects.size(), 3u) << "the clear and two rectangles";
    EXPECT_EQ(rects[1], "rect 35.5 51 58.5 78");
    EXPECT_EQ(renderer->Only("oval"), std::vector<std::string>{"oval 191.5 197.25 39 19.5"});
    EXPECT_EQ(renderer->Only("line"), std::vector<std::string>{"line 16 12 1264 948"});
    EXPECT_EQ(renderer->Only("poly"), std::vector<std::string>{"poly 16 12 35.5 12 16 31.5"});
    std::vector<std::string> colours = renderer->Only("color");
    EXPECT_NE(std::find(colours.begin(), colours.end(), "color 255 0 0"), colours.end());
}

TEST_F(Shell, OnlyTheLastUpdatesCommandsAreShown) {
    FinishLoading();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Rect(1, 1, 1, 1);
    Update(3);  // each update starts its own list with the title screen
    RecordingRenderer* renderer = Render();
    for (const std::string& rect : renderer->Only("rect")) EXPECT_NE(rect, "rect 1 1 1 1");
    EXPECT_FALSE(renderer->Only("image").empty()) << "the title screen";
}

TEST_F(Shell, ImageCommandsForEmptySlotsAreSkipped) {
    FinishLoading();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_DrawImg(42, 10, 10, 0);
    app->p_DrawImg(98, 10, 10, 0);
    RecordingRenderer* renderer = Render();
    EXPECT_EQ(renderer->Only("image").size(), 1u) << "slot 42 holds no image";
}

TEST_F(Shell, FunctionKeysToggleAndF4Ends) {
    FinishLoading();
    Press(112);
    Update();
    EXPECT_EQ(kp_VTR_DebugMode, 1);
    Press(113);
    Update();
    EXPECT_EQ(app->m_HideHud, 1);
    EXPECT_EXIT(
        {
            Press(115);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            host->KeyEvent(1, 432);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Shell, HeldKeysLatchUntilAllAreUp) {
    FinishLoading();
    app->m_KeyUsed = 1;
    Press(32);
    Update();
    EXPECT_EQ(app->m_KeyUsed, 1) << "a logical key is still down";
    Release(32);
    Update();
    EXPECT_EQ(app->m_KeyUsed, 0);

    app->m_MenuPanelB = 1;
    Press(27);
    Update();
    EXPECT_EQ(app->m_MenuPanelB, 0) << "the back key closes an open panel";
    EXPECT_EQ(app->m_KeyUsed, 1);
    EXPECT_EQ(app->m_TouchUsed, 1);
}

TEST_F(Shell, PointerInVirtualPixels) {
    host->width = 1280;
    host->height = 960;
    FinishLoading();
    Render();
    host->MouseEvent(4, 0, 200, 300);
    Update();
    EXPECT_EQ(app->m_MouseX, 100);
    EXPECT_EQ(app->m_MouseY, 150);
    EXPECT_EQ(app->m_PrevMouseX, 100) << "a press starts where it is";
    EXPECT_EQ(app->m_Pressing, 1);
    EXPECT_EQ(app->m_MouseHits, 1);
    EXPECT_EQ(app->m_TouchDown[0], 1) << "the left button is finger 0";
    EXPECT_EQ(app->m_TouchX[1], -3717);
}

TEST_F(Shell, SuspendPausesOnlyAGameInPlay) {
    FinishLoading();
    host->SuspendGame();
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(host->UpdateRate(), 5);
    host->ResumeGame();
    EXPECT_EQ(host->UpdateRate(), 60);

    app->m_GameMode = 11;
    Update();
    EXPECT_EQ(app->m_GameMode, 10);
    host->SuspendGame();
    host->ResumeGame();
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseState, 1);
}

// The window system lets go of the keys as the focus goes; a jump or back
// key pressed in that same frame must not carry on the paused game once the
// focus is back.
TEST_F(Shell, AKeyTappedAsTheFocusGoesLeavesTheGamePaused) {
    FinishLoading();
    app->m_GameMode = 11;
    for (int key : {32, 27}) {
        Update(2);  // no key down opens the latch
        Press(key);
        Release(key);
        host->SuspendGame();
        host->ResumeGame();
        Update();
        EXPECT_EQ(app->m_Paused, 1) << key;
        EXPECT_EQ(app->m_PauseState, 1) << key;
    }
}

TEST_F(Shell, NewGameStartsThePlayerBySpeed) {
    FinishLoading();
    const std::pair<int, float> speeds[] = {{1, 0.4f}, {2, 0.65f}, {3, 0.9f}};
    for (auto [difficulty, speed] : speeds) {
        app->m_Difficulty = difficulty;
        app->m_GameMode = 11;
        Update();
        EXPECT_EQ(app->m_GameMode, 10);
        EXPECT_FLOAT_EQ(app->m_Player[21], speed);
        EXPECT_EQ(app->m_GridW, 40);
        EXPECT_EQ(app->m_GridH, 30);
        EXPECT_FLOAT_EQ(app->m_Player[1], 20);
        EXPECT_FLOAT_EQ(app->m_Player[2], 29);
        EXPECT_FLOAT_EQ(app->m_Player[99], 2);
    }
}

}  // namespace
