#include "tests/game/game_fixture.h"

namespace {

class Menu : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        Update(40);  // the menu has dropped in
    }

    // Holds a key for `updates` updates and notes the cursor after each.
    std::vector<int> Hold(int key, int updates) {
        std::vector<int> cursors;
        Press(key);
        for (int i = 0; i < updates; ++i) {
            Update();
            cursors.push_back(app->m_MenuCursor);
        }
        Release(key);
        Update();
        return cursors;
    }
};

TEST_F(Menu, WheelStopsAtItsEnds) {
    app->m_MenuCursor = 2;
    EXPECT_EQ(Hold(40, 3), (std::vector<int>{2, 2, 2}));
    app->m_MenuCursor = 0;
    EXPECT_EQ(Hold(38, 3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(app->m_Difficulty, 1);
}

TEST_F(Menu, HeldKeyStepsAtOnceThenAfterThirtyOne) {
    app->m_MenuCursor = 0;
    std::vector<int> cursors = Hold(40, 40);
    EXPECT_EQ(cursors[0], 1) << "a held key steps at once";
    int second = static_cast<int>(std::find(cursors.begin(), cursors.end(), 2) - cursors.begin());
    EXPECT_EQ(second, 31) << "then 31 updates later";
    EXPECT_FLOAT_EQ(app->m_Player[22], 30) << "released, the delay starts over";
    EXPECT_EQ(app->m_MenuScroll, -64);
}

TEST_F(Menu, SpinBouncesBackAtTheEnd) {
    app->m_MenuCursor = 2;
    app->m_MenuScroll = app->m_MenuAngle = -64;
    app->m_MenuSpin = -40;
    bool bounced = false;
    for (int i = 0; i < 20 && !bounced; ++i) {
        Update();
        bounced = app->m_MenuSpin > 0;
    }
    EXPECT_TRUE(bounced);
}

TEST_F(Menu, BackOnTheDesktopTitleEndsTheProgram) {
    EXPECT_EXIT(
        {
            Press(27);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

// Up and down held together, from each item: the cursor never leaves the
// three speeds, so fire can never pick an item that is not there.
TEST_F(Menu, UpAndDownTogetherKeepTheCursorOnTheWheel) {
    for (int start = 0; start <= 2; ++start) {
        SCOPED_TRACE(start);
        app->m_MenuCursor = start;
        Press(38);
        for (int cursor : Hold(40, 90)) {
            EXPECT_GE(cursor, 0);
            EXPECT_LE(cursor, 2);
        }
        Release(38);
        Update();
    }
}

// On the console the back button of any of the four pads opens the quit
// dialog.
TEST_F(Menu, OnTheConsoleEveryPlayersBackOpensTheQuitDialog) {
    kp_VTR_isOuya = 1;
    for (int player = 0; player < 4; ++player) {
        SCOPED_TRACE(player);
        const int backButton = 256 + 32 * player + 6;
        Press(backButton);
        Update();
        EXPECT_EQ(app->m_GameMode, 4);
        Release(backButton);
        app->m_GameMode = 1;
        Update(2);
    }
}

class PlayButton : public Menu {
protected:
    void Tap() {
        host->MouseEvent(6, -1, 0, 0);
        host->MouseEvent(4, 0, X(), Y());
        Update();
    }
    void Lift() {
        host->MouseEvent(5, 0, X(), Y());
        Update(2);
    }
    float X() const { return kp_VTR_jscrw - (app->m_PanelSlide + 140) / 2; }
    float Y() const { return kp_VTR_jscrh - 48; }
};

TEST_F(PlayButton, FirstTapOnlyFocusesThePanel) {
    Tap();
    EXPECT_EQ(app->m_MenuFocus, 2);
    EXPECT_EQ(app->m_GameMode, 1);
    Lift();
    Tap();
    Update();
    EXPECT_EQ(app->m_GameMode, 10) << "the second tap starts a game";
}

// A key held down keeps the key latch set; a touch takes the panel anyway.
TEST_F(PlayButton, FirstTapOnlyFocusesThePanelWhileAKeyIsHeld) {
    Press(37);
    Update();
    ASSERT_EQ(app->m_MenuFocus, 0) << "left moved the focus to the dial";
    Update();  // still held: only the touch latch opens
    ASSERT_NE(app->m_KeyUsed, 0);
    Tap();
    EXPECT_EQ(app->m_MenuFocus, 2);
    Update();
    EXPECT_EQ(app->m_GameMode, 1) << "no game starts";
}

// The options box and the game-over overlay leave both latches set so that
// the title below ignores a press still held when they go.
TEST_F(PlayButton, PressHeldFromAnOverlayLeavesTheFocus) {
    host->MouseEvent(6, -1, 0, 0);
    host->MouseEvent(4, 0, X(), Y());
    app->m_KeyUsed = app->m_TouchUsed = 1;
    Update(3);
    EXPECT_NE(app->m_MenuFocus, 2);
    EXPECT_EQ(app->m_GameMode, 1);
}

TEST_F(Menu, FireStartsTheChosenSpeed) {
    app->m_MenuCursor = 2;
    Press(32);
    Update();
    EXPECT_EQ(app->m_Difficulty, 3);
    EXPECT_EQ(app->m_PromptStyle, 0) << "started from the keyboard";
    Update();
    EXPECT_EQ(app->m_GameMode, 10);
}

TEST_F(Menu, TablesShowTheChosenSpeed) {
    app->m_Difficulty = 2;
    app->m_HighScores[10] = 4321;
    app->m_HighScores[40] = 99;
    Update();
    EXPECT_EQ(app->m_ScoreTable, 40) << "the Last table was drawn last";
}

struct TitleWindow {
    const char* name;
    int width, height;
};

// The studio logo tops the side panel, drawn over what lies below it; the
// first table's label stands just under it and keeps clear of it, as does
// every other text, in a window and in full screen.
TEST_F(Menu, NoTextLiesUnderThePanelsLogo) {
    const TitleWindow windows[] = {{"window", 640, 480}, {"larger window", 800, 600}, {"full screen", 1920, 1080}};
    for (const TitleWindow& w : windows) {
        SCOPED_TRACE(w.name);
        host->width = w.width;
        host->height = w.height;
        Render();
        FinishLoading();
        Update(40);
        std::vector<RecordingRenderer::Patch> patches = Render()->patches;
        const gxtkSurface* logoImage = app->m_Images[93]->m_surface;
        const gxtkSurface* fontImage = app->m_Images[app->m_FontImage]->m_surface;
        std::vector<RecordingRenderer::Patch> logos, glyphs;
        for (const RecordingRenderer::Patch& p : patches) {
            if (p.image == logoImage) logos.push_back(p);
            if (p.image == fontImage && !p.Empty()) glyphs.push_back(p);
        }
        ASSERT_EQ(logos.size(), 1u);
        const RecordingRenderer::Patch& logo = logos[0];
        int glyphsBelow = 0;
        for (const RecordingRenderer::Patch& glyph : glyphs) {
            EXPECT_FALSE(logo.Overlaps(glyph)) << "a glyph at " << glyph.left << "," << glyph.top << " under the logo "
                                               << logo.left << "," << logo.top << " .. " << logo.right << ","
                                               << logo.bottom;
            if (glyph.left < logo.right && logo.left < glyph.right) ++glyphsBelow;
        }
        EXPECT_GT(glyphsBelow, 0) << "the label stands in the logo's columns";
    }
}

TEST_F(Menu, CreditsScrollAndSkipTheEndMarker) {
    EXPECT_EQ(kp_VTR_CreditText.Length(), 57);
    EXPECT_EQ(kp_VTR_CreditText[56].ToUtf8(), "End");
    EXPECT_EQ(kp_VTR_MenuSet[5].ToUtf8(), "Faster than it should be\\nVantaroo!");
    app->m_MenuPanelB = 1;
    app->m_CreditLine = 55;
    Update(60);
    EXPECT_GT(app->m_CreditLine, 55);
    Press(32);
    Update();
    EXPECT_EQ(app->m_MenuPanelB, 0) << "fire closes the credits";
}

}  // namespace
