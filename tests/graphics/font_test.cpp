#include "tests/graphics/module_fixture.h"

namespace {

using GraphicsFont = GraphicsModuleTest;

// "qira_font.png" comes from data/ beside the test program.
TEST_F(GraphicsFont, NullLoadsTheFrameworkFontOnce) {
    c_GraphicsContext* context = kp_graphics_context;
    kp_graphics_SetFont(nullptr, 65);
    c_Image* font = context->m_currentFont;
    ASSERT_NE(font, nullptr) << "data/qira_font.png is missing";
    EXPECT_EQ(context->m_defaultFont, font);
    EXPECT_EQ(context->m_fontFirstChar, 32);
    ASSERT_EQ(font->m_frames.Length(), 96);
    int step = font->m_surface->Width() / 96;
    EXPECT_EQ(font->m_width, step - 2);
    EXPECT_EQ(font->m_frames[0]->m_x, 1);
    EXPECT_EQ(font->m_frames[95]->m_x, 95 * step + 1);
    EXPECT_EQ(font->m_flags, c_Image::BorderX);

    c_Image* own = LoadStrip(20, 10, 2, 0);
    kp_graphics_SetFont(own, 48);
    EXPECT_EQ(context->m_currentFont, own);
    EXPECT_EQ(context->m_fontFirstChar, 48);

    kp_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(context->m_currentFont, font);
    EXPECT_EQ(context->m_fontFirstChar, 32);
}

// Stands in for a data folder without the font.
class NoImages : public KpGlfwGame {
public:
    String PathToFilePath(String) override { return String("/nonexistent/qira_font.png"); }
};

TEST_F(GraphicsFont, MissingFrameworkFontLeavesNoFont) {
    NoImages empty;
    kp_graphics_SetFont(nullptr, 40);
    EXPECT_EQ(kp_graphics_context->m_currentFont, nullptr);
    EXPECT_EQ(kp_graphics_context->m_defaultFont, nullptr);
    EXPECT_EQ(kp_graphics_context->m_fontFirstChar, 32);
}

}  // namespace
