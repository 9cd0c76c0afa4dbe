#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

constexpr int kRecord = 15;
constexpr int kFont = 40;
constexpr int kAdvance = 16;
constexpr int kLineHeight = 20;

struct Placed {
    int frame;
    float x;
    float y;
};

// A started game with a 16 x 20 font at image id 40 and an empty list.
class DrawingTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        app->m_FontImage = kFont;
        app->m_ImageSizes[kFont * 3] = kAdvance;
        app->m_ImageSizes[kFont * 3 + 1] = kLineHeight;
        app->m_PromptStyle = 2;
        app->p_CLS2D(-3717, 0, 0, 0);
    }

    const float* Record(int index) const { return app->m_DrawList.Data() + index * kRecord; }

    int Commands() const { return app->m_DrawCount / kRecord; }

    void Text(const std::u16string& text, float alignX, float alignY, int fontOffset = 0) {
        app->p_Text(100, 50, String(text.data(), static_cast<int>(text.size())), alignX, alignY, fontOffset);
    }

    void ExpectGlyphs(const std::vector<Placed>& expected, int image = kFont) const {
        ASSERT_EQ(Commands(), static_cast<int>(expected.size()));
        for (int i = 0; i < Commands(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Record(i)[0], image);
            EXPECT_EQ(Record(i)[6], expected[i].frame);
            EXPECT_NEAR(Record(i)[1], expected[i].x, 1e-3);
            EXPECT_NEAR(Record(i)[2], expected[i].y, 1e-3);
        }
    }
};

TEST_F(DrawingTest, ClearStartsAFreshListAndState) {
    kp_VTR_jscrw = 720;
    kp_VTR_jscrh = 405;
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_SetSize(2, 3);
    app->p_SetRot(30);
    app->m_DrawBlend = 3;
    app->p_Rect(0, 0, 1, 1);

    app->p_CLS2D(10, 20, 30, 0.25f);
    EXPECT_EQ(app->m_DrawCount, 0);
    EXPECT_EQ((std::vector<float>{app->m_ViewX, app->m_ViewY, app->m_ViewW, app->m_ViewH}),
              (std::vector<float>{0, 0, 720, 405}));
    EXPECT_EQ((std::vector<float>{app->m_ClsRed, app->m_ClsGreen, app->m_ClsBlue, app->m_ClsAlpha}),
              (std::vector<float>{10, 20, 30, 0.25f}));
    EXPECT_EQ((std::vector<float>{app->m_DrawScaleX, app->m_DrawScaleY, app->m_DrawRot, app->m_DrawRed,
                                  app->m_DrawGreen, app->m_DrawBlue, app->m_DrawAlpha}),
              (std::vector<float>{1, 1, 0, 255, 255, 255, 1}));
    EXPECT_EQ(app->m_DrawBlend, 1);

    app->p_CLS2D(-3717, 99, 99, 99);
    EXPECT_EQ((std::vector<float>{app->m_ClsRed, app->m_ClsGreen, app->m_ClsBlue, app->m_ClsAlpha}),
              (std::vector<float>{10, 20, 30, 0.25f}));
}

TEST_F(DrawingTest, MissingArgumentsKeepOrCopyTheirValue) {
    app->p_SetSize(2, -3717);
    EXPECT_EQ(app->m_DrawScaleY, 2);
    app->p_SetSize(2, -5000);
    EXPECT_EQ(app->m_DrawScaleY, 2);
    app->p_SetSize(2, 3);
    EXPECT_EQ(app->m_DrawScaleY, 3);

    app->p_Alpha(0.5f);
    app->p_SetCol(255, 0, 0, -3717);
    EXPECT_EQ(app->m_DrawAlpha, 0.5f);
    EXPECT_EQ(app->m_DrawRed, 255);
    app->p_SetCol(0, 255, 0, 0.75f);
    EXPECT_EQ(app->m_DrawAlpha, 0.75f);
    EXPECT_EQ(app->m_DrawGreen, 255);

    app->p_SetRot(30);
    EXPECT_EQ(app->m_DrawRot, -30);
}

TEST_F(DrawingTest, InkScalesThePaletteAndClamps) {
    struct Case {
        int colour;
        float brightness;
        float red, green, blue;
    };
    const Case cases[] = {
        {4, 0.5f, 12.75f, 127.5f, 12.75f}, {9, 2, 255, 255, 255}, {7, 1, 127.5f, 25.5f, 255},
        {2, 1, 255, 127.5f, 25.5f},        {1, -1, 0, 0, 0},       {0, 1, 76.5f, 76.5f, 76.5f},
        {10, 1, 76.5f, 76.5f, 76.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        app->p_Ink(c.colour, c.brightness);
        EXPECT_FLOAT_EQ(app->m_DrawRed, c.red);
        EXPECT_FLOAT_EQ(app->m_DrawGreen, c.green);
        EXPECT_FLOAT_EQ(app->m_DrawBlue, c.blue);
    }
}

TEST_F(DrawingTest, CommandsCarryTheirShapeAndTheDrawingState) {
    for (int i = 0; i < 5 * kRecord; ++i) app->m_DrawList[i] = 99;
    app->p_SetCol(10, 20, 30, 0.5f);
    app->p_SetSize(2, 3);
    app->p_SetRot(45);
    app->m_DrawBlend = 3;

    app->p_DrawImg(7, 1, 2, 3.5f);
    app->p_Rect(1, 2, 3, 4);
    app->p_Oval(5, 6, 7, 8);
    app->p_Line(1, 2, 3, 4);
    app->p_Tri(1, 2, 5, 4, 3, 6);

    const std::vector<std::vector<float>> shapes = {
        {7, 1, 2, -45, 2, 3, 3.5f},  {-3717, 1, 2, -45, 3, 4, 0}, {-3716, 5, 6, -45, 7, 8, 0},
        {-3715, 1, 2, -45, 3, 4, 0}, {-3714, 1, 2, 5, 4, 3, 6},
    };
    ASSERT_EQ(Commands(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const float* record = Record(i);
        EXPECT_EQ(std::vector<float>(record, record + 7), shapes[i]);
        EXPECT_EQ((std::vector<float>{record[7], record[10], record[11], record[12], record[13]}),
                  (std::vector<float>{0.5f, 10, 20, 30, 3}));
        EXPECT_EQ((std::vector<float>{record[8], record[9], record[14]}), (std::vector<float>{99, 99, 99}));
    }
}

TEST_F(DrawingTest, TriangleExchangesItsOuterPointsWhenOneLiesRightOfTheMiddle) {
    struct Case {
        std::vector<float> given;
        std::vector<float> stored;
    };
    const Case cases[] = {
        {{0, 0, 5, 1, 3, 2}, {0, 0, 5, 1, 3, 2}},
        {{5, 0, 5, 1, 5, 2}, {5, 0, 5, 1, 5, 2}},
        {{6, 0, 5, 1, 3, 2}, {3, 2, 5, 1, 6, 0}},
        {{0, 0, 5, 1, 7, 2}, {7, 2, 5, 1, 0, 0}},
        {{6, 0, 5, 1, 7, 2}, {7, 2, 5, 1, 6, 0}},
    };
    for (const Case& c : cases) {
        app->p_CLS2D(-3717, 0, 0, 0);
        const std::vector<float>& p = c.given;
        app->p_Tri(p[0], p[1], p[2], p[3], p[4], p[5]);
        EXPECT_EQ(std::vector<float>(Record(0) + 1, Record(0) + 7), c.stored);
    }
}

TEST_F(DrawingTest, TheListHoldsTwoThousandFiveHundredCommands) {
    for (int i = 0; i < 2501; ++i) app->p_Rect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app->m_DrawCount, 2500 * kRecord);
    EXPECT_EQ(Record(2499)[1], 2499);

    app->p_CLS2D(-3717, 0, 0, 0);
    app->p_Oval(1, 2, 3, 4);
    EXPECT_EQ(Commands(), 1);
    EXPECT_EQ(Record(0)[0], -3716);
}

TEST_F(DrawingTest, RstrKeepsTheLastDigitsAfterThePadding) {
    struct Case {
        int value;
        int width;
        const char* pad;
        const char* text;
    };
    const Case cases[] = {
        {42, 5, "0", "00042"}, {1234, 3, "0", "234"}, {7, 3, " ", "  7"}, {-5, 4, "0", "00-5"},
        {5, 0, "0", ""},       {5, -2, "0", ""},      {1234, 6, "", "1234"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(app->p_rstr(c.value, c.width, String(c.pad)).ToUtf8(), c.text);
    }
}

TEST_F(DrawingTest, TextLaysOutGlyphsFromALeadingSpace) {
    struct Case {
        const char* name;
        std::u16string text;
        float alignX;
        float alignY;
        float scale;
        std::vector<Placed> glyphs;
    };
    const Case cases[] = {
        {"left", u"Hi", 0, 1, 1, {{40, 116, 50}, {73, 132, 50}}},
        {"centred", u"Hi", 1, 1, 1, {{40, 100, 50}, {73, 116, 50}}},
        {"right, measured with kerning", u"mi", 2, 1, 1, {{77, 82, 50}, {73, 100, 50}}},
        {"below, scaled", u"H", 0, 0, 2, {{40, 132, 70}}},
        {"above", u"H", 0, 2, 1, {{40, 116, 40}}},
        {"measure truncated at every step", u"Hi", 2, 1, 1.3f, {{40, 80.8f, 50}, {73, 101.6f, 50}}},
        {"kerning moves the pen", u"wiMj", 0, 1, 1, {{87, 116, 50}, {73, 134, 50}, {45, 147, 50}, {74, 164, 50}}},
        {"line break", u"A\\nB", 0, 1, 1, {{33, 116, 50}, {34, 116, 70}}},
        {"line break pair measured", u"AB\\nC", 1, 1, 1, {{33, 76.5f, 50}, {34, 92.5f, 50}, {35, 76.5f, 70}}},
        {"undrawable characters advance", u"A\u00E9 B", 0, 1, 1, {{33, 116, 50}, {34, 164, 50}}},
        {"code 0 keeps the pen", std::u16string(u"A\0B", 3), 0, 1, 1, {{33, 116, 50}, {34, 132, 50}}},
        {"lone marker at the end", u"A\u00AC", 0, 1, 1, {{33, 116, 50}}},
        {"lone backslash at the end", u"A\\", 0, 1, 1, {{33, 116, 50}, {60, 132, 50}}},
        {"prompt advance", u"\u00ACUx", 0, 1, 1, {{100, 116, 50}, {88, 138, 50}}},
        {"prompt measured", u"\u00ACK", 2, 1, 1, {{97, 82, 50}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->p_CLS2D(-3717, 0, 0, 0);
        app->p_SetSize(c.scale, -3717);
        Text(c.text, c.alignX, c.alignY);
        ExpectGlyphs(c.glyphs);
    }
}

TEST_F(DrawingTest, PromptGlyphsFollowTheStyleAndThePadBlinks) {
    struct Case {
        char16_t code;
        int style;
        int millisecs;
        int frame;
    };
    const Case cases[] = {
        {u'K', 0, 100, 113}, {u'K', 1, 100, 109}, {u'K', 1, 300, 97},  {u'K', 1, 699, 109}, {u'K', 1, 700, 97},
        {u'K', 2, 100, 97},  {u'U', 1, 0, 110},   {u'U', 0, 0, 116},   {u'Q', 1, 100, 102}, {u'Q', 0, 100, 118},
        {u'W', 1, 100, 104}, {u'D', 1, 300, 108}, {u'X', 1, 100, 88},  {u'X', 0, 100, 104},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.code) << " style " << c.style << " at "
                                        << c.millisecs);
        app->p_CLS2D(-3717, 0, 0, 0);
        app->m_PromptStyle = c.style;
        host->millisecs = c.millisecs;
        Text(std::u16string(u"\u00AC") + c.code, 0, 1);
        ExpectGlyphs({{c.frame, 116, 50}});
    }
}

TEST_F(DrawingTest, RotatedTextRunsDownTheScreenWithTurnedGlyphs) {
    app->p_SetRot(90);
    Text(u"Hi", 1, 1, 1);
    ExpectGlyphs({{40, 100, 50}, {73, 100, 66}}, kFont + 1);
    EXPECT_EQ(Record(0)[3], -90);

    app->p_CLS2D(-3717, 0, 0, 0);
    app->p_SetRot(90);
    Text(u"A\\nB", 0, 1);
    ExpectGlyphs({{33, 100, 66}, {34, 80, 66}});
}

}  // namespace
