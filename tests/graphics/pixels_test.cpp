#include "tests/graphics/render_fixture.h"

namespace {

using RendererPixels = RenderTest;

struct BlendCase {
    const char* name;
    int blend;
    std::uint32_t background;
    float r, g, b, alpha;
    std::uint32_t expected;
};

void PrintTo(const BlendCase& c, std::ostream* os) { *os << c.name; }

class Blending : public RenderTest, public ::testing::WithParamInterface<BlendCase> {};

TEST_P(Blending, GivesTheExpectedColour) {
    const BlendCase& c = GetParam();
    auto channel = [&](int shift) { return static_cast<float>(c.background >> shift & 0xFF); };
    renderer()->Cls(channel(16), channel(8), channel(0));
    renderer()->SetBlend(c.blend);
    renderer()->SetColor(c.r, c.g, c.b);
    renderer()->SetAlpha(c.alpha);
    renderer()->DrawRect(10, 10, 20, 20);
    EXPECT_TRUE(NearColor(Pixel(15, 15), c.expected));
    EXPECT_EQ(Pixel(35, 15), c.background);
}

INSTANTIATE_TEST_SUITE_P(
    Renderer, Blending,
    ::testing::Values(BlendCase{"OpaqueReplaces", 0, 0x0000FF, 10, 20, 30, 1, 0x0A141E},
                      BlendCase{"HalfAlphaMixesPremultiplied", 0, 0x0000FF, 255, 0, 0, 0.5f, 0x7F0080},
                      BlendCase{"ZeroAlphaLeavesTheBackground", 0, 0x204060, 255, 255, 255, 0, 0x204060},
                      BlendCase{"AdditiveAdds", 1, 0x000064, 100, 50, 0, 1, 0x643264},
                      BlendCase{"AdditiveScalesByAlpha", 1, 0x000064, 100, 50, 0, 0.5f, 0x321964},
                      BlendCase{"AdditiveSaturates", 1, 0xC80000, 100, 0, 0, 1, 0xFF0000},
                      BlendCase{"ColourAboveRangeSaturates", 0, 0x000000, 300, 0, 0, 1, 0xFF0000}),
    [](const ::testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

TEST_F(RendererPixels, ColourIsPackedPremultiplied) {
    renderer()->SetColor(200, 100, 50);
    renderer()->SetAlpha(0.5f);
    EXPECT_EQ(renderer()->packedColor, 0x7F193264u);
}

// The scissor is given from the top left; OpenGL counts from the bottom.
TEST_F(RendererPixels, ScissorClipsWithTheFlippedY) {
    renderer()->SetScissor(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    renderer()->DrawRect(0, 0, kWidth, kHeight);
    EXPECT_EQ(Pixel(10, 20), 0xFFFFFFu);
    EXPECT_EQ(Pixel(39, 59), 0xFFFFFFu);
    for (auto [x, y] : {std::pair{9, 20}, {40, 20}, {10, 19}, {10, 60}}) {
        EXPECT_EQ(Pixel(x, y), 0u) << x << ", " << y;
    }
    renderer()->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

// Points and lines sit on pixel centres.
TEST_F(RendererPixels, PointsAndLinesLightThePixelsTheyName) {
    renderer()->DrawPoint(10, 20);
    EXPECT_EQ(Pixel(10, 20), 0xFFFFFFu);
    for (auto [x, y] : {std::pair{9, 20}, {11, 20}, {10, 19}, {10, 21}}) EXPECT_EQ(Pixel(x, y), 0u) << x << ", " << y;

    renderer()->DrawLine(5, 30, 15, 30);
    EXPECT_EQ(Pixel(10, 30), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10, 29), 0u);
    EXPECT_EQ(Pixel(10, 31), 0u);
}

TEST_F(RendererPixels, ReadPixelsGivesTheTopRowFirst) {
    const float rows[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int row = 0; row < 3; ++row) {
        renderer()->SetColor(rows[row][0], rows[row][1], rows[row][2]);
        renderer()->DrawRect(0, static_cast<float>(row), 4, 1);
    }
    Array<int> pixels(2 + 3 * 6);
    for (int i = 0; i < pixels.Length(); ++i) pixels[i] = 7;
    renderer()->ReadPixels(pixels, 0, 0, 4, 3, 2, 6);
    const std::uint32_t expected[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 6; ++i) {
            int at = 2 + row * 6 + i;
            std::uint32_t want = i < 4 ? expected[row] : 7u;
            EXPECT_EQ(static_cast<std::uint32_t>(pixels[at]), want) << "index " << at;
        }
    }
    EXPECT_EQ(pixels[0], 7);
}

// A block outside the window or the array is refused rather than read
// into memory the array does not have.
TEST_F(RendererPixels, ReadPixelsIgnoresBlocksThatDoNotFit) {
    Array<int> pixels(4);
    for (int i = 0; i < 4; ++i) pixels[i] = 7;
    renderer()->ReadPixels(pixels, kWidth - 1, 0, 2, 1, 0, 2);
    renderer()->ReadPixels(pixels, 0, kHeight - 1, 1, 2, 0, 1);
    renderer()->ReadPixels(pixels, 0, 0, 2, 2, 1, 2);
    renderer()->ReadPixels(pixels, 0, 0, 5, 1, 0, 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pixels[i], 7);
}

TEST_F(RendererPixels, TransformedVerticesAndOvals) {
    renderer()->SetMatrix(2, 0, 0, 2, 100, 50);
    renderer()->DrawRect(0, 0, 5, 5);
    renderer()->SetMatrix(1, 0, 0, 1, 0, 0);
    renderer()->DrawOval(200, 100, 40, 20);
    EXPECT_EQ(Pixel(100, 50), 0xFFFFFFu);
    EXPECT_EQ(Pixel(109, 59), 0xFFFFFFu);
    EXPECT_EQ(Pixel(110, 59), 0u);
    EXPECT_EQ(Pixel(220, 110), 0xFFFFFFu);
    EXPECT_EQ(Pixel(201, 101), 0u);
}

}  // namespace
