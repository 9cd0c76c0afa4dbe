#include <array>
#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

using Command = std::array<float, 15>;

class Badges : public GameTest {
protected:
    // The commands of one kind (image id, or -3717 for rectangles) in the list.
    std::vector<Command> Commands(float kind) const {
        std::vector<Command> found;
        for (int at = 0; at + 15 <= app->m_DrawCount; at += 15) {
            if (app->m_DrawList[at] != kind) continue;
            Command command;
            for (int i = 0; i < 15; ++i) command[i] = app->m_DrawList[at + i];
            found.push_back(command);
        }
        return found;
    }

    void Queue(int slot, int badge, int time) {
        app->m_BadgeShow[slot] = badge;
        app->m_BadgeShowTime[slot] = time;
    }

    // One pop-up pass on an empty list.
    void Show() {
        app->m_DrawCount = 0;
        app->p_ShowBadges();
    }
};

TEST_F(Badges, OrdinalsRunFrom1To30) {
    const std::pair<int, const char*> cases[] = {
        {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {10, "10th"}, {11, "11th"}, {12, "12th"},
        {13, "13th"}, {20, "20th"}, {21, "21st"}, {22, "22nd"}, {23, "23rd"}, {24, "24th"}, {30, "30th"},
        {0, ""},      {31, ""},     {-1, ""},     {101, ""},
    };
    for (auto [n, text] : cases) EXPECT_EQ(app->p_Nth(n).ToUtf8(), text) << n;
}

// Normal's Top table 1000, 900, ..., 100 between tables that must not be read.
TEST_F(Badges, PlaceCountsTiesAsReached) {
    for (int k = 0; k < 10; ++k) {
        app->m_HighScores[k] = 5000;
        app->m_HighScores[10 + k] = 1000 - 100 * k;
        app->m_HighScores[20 + k] = 1;
        app->m_HighScores[40 + k] = 5000;
    }
    app->m_Difficulty = 2;
    struct Case {
        int score;
        const char* text;
        int place;
    };
    const Case cases[] = {
        {1500, "1st!", 1}, {1000, "1st!", 1}, {999, "2nd", 2}, {900, "2nd", 2}, {899, "3rd", 3},
        {450, "7th", 7},   {100, "10th", 10}, {99, "", 0},     {0, "", 0},
    };
    for (const Case& c : cases) {
        app->m_Score = c.score;
        app->m_N = -5;
        EXPECT_EQ(app->p_MyNth().ToUtf8(), c.text) << c.score;
        EXPECT_EQ(app->m_N, c.place) << c.score;
    }
    app->m_Difficulty = 3;
    app->m_Score = 0;
    EXPECT_EQ(app->p_MyNth().ToUtf8(), "") << "Fast's table holds 1s";
    app->m_Difficulty = 1;
    app->m_Score = 4999;
    EXPECT_EQ(app->p_MyNth().ToUtf8(), "");
}

TEST_F(Badges, EmptyTablePlacesAnyScoreFirst) {
    app->m_Score = 0;
    EXPECT_EQ(app->p_MyNth().ToUtf8(), "1st!");
    EXPECT_EQ(app->m_N, 1);
}

TEST_F(Badges, CatalogueSplitsNameFromDetail) {
    EXPECT_EQ(app->p_BadgeID(0).ToUtf8(), "Test Badge|This is a Test Badge which has no purpose.");
    EXPECT_EQ(app->p_BadgeName(0).ToUtf8(), "Test Badge");
    EXPECT_EQ(app->p_BadgeDetail(0).ToUtf8(), "This is a Test Badge which has no purpose.");
    for (int badge : {1, 5, 63, 255}) {
        EXPECT_EQ(app->p_BadgeName(badge).ToUtf8(), "Odd Badge") << badge;
        EXPECT_EQ(app->p_BadgeDetail(badge).ToUtf8(), "This badge hasn't been defined!") << badge;
    }
}

TEST_F(Badges, PopupsStackUpFromTheBottomEdge) {
    FinishLoading();
    Queue(0, 3, 9);
    Queue(2, 70, 1);
    Queue(13, 4, 5);  // beyond the shown slots
    Show();
    EXPECT_EQ(app->m_BadgeShowTime[0], 10);
    EXPECT_EQ(app->m_BadgeShowTime[2], 2);
    EXPECT_EQ(app->m_BadgeShowTime[13], 5);
    EXPECT_EQ(app->m_BadgeShowTime[1], 0);

    std::vector<Command> rects = Commands(-3717);
    ASSERT_EQ(rects.size(), 2u);
    const float expected[][2] = {{0, 480 - 34}, {-128, 480 - 102}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(rects[i][1], expected[i][0]);
        EXPECT_FLOAT_EQ(rects[i][2], expected[i][1]);
        EXPECT_FLOAT_EQ(rects[i][4], 160);
        EXPECT_FLOAT_EQ(rects[i][5], 32);
        EXPECT_FLOAT_EQ(rects[i][7], 0.8f);
        EXPECT_FLOAT_EQ(rects[i][12], 80);
    }

    std::vector<Command> icons = Commands(80);
    ASSERT_EQ(icons.size(), 1u) << "badge 70 has no icon";
    EXPECT_FLOAT_EQ(icons[0][1], 144);
    EXPECT_FLOAT_EQ(icons[0][2], 480 - 34 + 16);
    EXPECT_FLOAT_EQ(icons[0][4], 0.5f);
    EXPECT_FLOAT_EQ(icons[0][6], 3);

    std::vector<Command> glyphs = Commands(static_cast<float>(app->m_FontImage));
    EXPECT_EQ(glyphs.size(), 16u) << "\"Odd Badge\" twice, spaces not drawn";
    for (const Command& glyph : glyphs) {
        EXPECT_FLOAT_EQ(glyph[7], 1);
        EXPECT_FLOAT_EQ(glyph[10], 255);
        EXPECT_FLOAT_EQ(glyph[12], 255);
    }
    EXPECT_FLOAT_EQ(app->m_DrawScaleX, 1);
}

TEST_F(Badges, PopupSlidesInRestsAndLeaves) {
    // The timer after this update's step, and where the pop-up stands.
    const std::pair<int, float> cases[] = {
        {2, -128}, {9, -16}, {10, 0}, {100, 0}, {230, 0}, {231, -16}, {239, -144}, {240, -160}, {241, -176},
    };
    for (auto [time, x] : cases) {
        Queue(0, 0, time - 1);
        Show();
        std::vector<Command> rects = Commands(-3717);
        ASSERT_EQ(rects.size(), 1u) << time;
        EXPECT_FLOAT_EQ(rects[0][1], x) << time;
        EXPECT_EQ(app->m_BadgeShowTime[0], time > 240 ? 0 : time) << time;
    }
}

TEST_F(Badges, EveryUpdateAdvancesThePopups) {
    Queue(5, 0, 1);
    Update(239);
    EXPECT_EQ(app->m_BadgeShowTime[5], 240);
    Update();
    EXPECT_EQ(app->m_BadgeShowTime[5], 0);
    Show();
    EXPECT_TRUE(Commands(-3717).empty());
}

// The badge sheet has 64 frames; other numbers must not reach the replay.
TEST_F(Badges, OnlyBadgesWithAFrameDrawAnIcon) {
    Queue(0, -1, 20);
    Queue(1, 64, 20);
    Queue(2, 63, 20);
    Show();
    std::vector<Command> icons = Commands(80);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_FLOAT_EQ(icons[0][6], 63);
}

}  // namespace
