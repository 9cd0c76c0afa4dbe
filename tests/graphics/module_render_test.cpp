#include "tests/graphics/render_fixture.h"
#include "tests/graphics/test_images.h"

namespace {

using GraphicsDrawing = RenderTest;

constexpr std::uint32_t kFrameColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};

// Three 4 x 4 frames side by side, red, green and blue.
c_Image* ThreeColourFrames(int flags) {
    c_Image* image = kp_graphics_CreateImage(4, 4, 3, flags);
    Array<int> pixels(12 * 4);
    for (int i = 0; i < pixels.Length(); ++i) pixels[i] = static_cast<int>(kFrameColours[i % 12 / 4]);
    kp_graphics_device->WritePixels2(image->m_surface, pixels, 0, 0, 12, 4, 0, 12);
    return image;
}

bool BlockIs(int x, int y, int w, int h, std::uint32_t colour) {
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            if (RenderTest::Pixel(column, row) != (colour & 0xFFFFFF)) return false;
        }
    }
    return true;
}

TEST_F(GraphicsDrawing, ImagesSampleTheirFrame) {
    c_Image* image = ThreeColourFrames(0);
    kp_graphics_DrawImage(image, 50, 60, 1);
    EXPECT_TRUE(BlockIs(50, 60, 4, 4, kFrameColours[1]));
    EXPECT_TRUE(BlockIs(49, 60, 1, 4, 0));
    EXPECT_TRUE(BlockIs(54, 60, 1, 4, 0));

    image->p_SetHandle(2, 1);
    kp_graphics_DrawImage(image, 80, 80, 2);
    EXPECT_TRUE(BlockIs(78, 79, 4, 4, kFrameColours[2]));
    EXPECT_EQ(DrawCalls(), 2);
}

// Three 6 x 2 frames side by side, each row of each frame its own colour.
std::uint32_t WideFrameColour(int frame, int row) {
    return 0xFF000000u | (60u + 60u * frame) << 16 | (row ? 200u : 50u) << 8;
}

TEST_F(GraphicsDrawing, WideFramesSampleTheirOwnRows) {
    c_Image* image = kp_graphics_CreateImage(6, 2, 3, 0);
    Array<int> pixels(18 * 2);
    for (int i = 0; i < pixels.Length(); ++i) pixels[i] = static_cast<int>(WideFrameColour(i % 18 / 6, i / 18));
    kp_graphics_device->WritePixels2(image->m_surface, pixels, 0, 0, 18, 2, 0, 18);
    for (int frame = 0; frame < 3; ++frame) kp_graphics_DrawImage(image, 10.0f + 20 * frame, 30, frame);
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        for (int row = 0; row < 2; ++row) {
            EXPECT_TRUE(BlockIs(10 + 20 * frame, 30 + row, 6, 1, WideFrameColour(frame, row))) << "row " << row;
        }
        EXPECT_TRUE(BlockIs(10 + 20 * frame, 32, 6, 1, 0)) << "two rows tall";
    }
}

TEST_F(GraphicsDrawing, WholeSurfaceImagesKeepTheirOrientation) {
    TempFolder folder;
    std::string path = WriteArgbPng(folder, "corners.png", 2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    c_Image* image = kp_graphics_LoadImage(String(path.c_str()), 1, 0);
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(image->m_flags & c_Image::WholeSurface);
    kp_graphics_Scale(3, 3);
    kp_graphics_DrawImage(image, 10, 10, 0);
    EXPECT_TRUE(BlockIs(30, 30, 3, 3, 0xFF0000));
    EXPECT_TRUE(BlockIs(33, 30, 3, 3, 0x00FF00));
    EXPECT_TRUE(BlockIs(30, 33, 3, 3, 0x0000FF));
    EXPECT_TRUE(BlockIs(33, 33, 3, 3, 0xFFFFFF));
}

// Positive angles turn counter-clockwise on screen: the left of the frame
// (red) ends up below the handle, the right (green) above it.
TEST_F(GraphicsDrawing, DrawImage2TurnsAboutTheHandle) {
    c_Image* image = kp_graphics_CreateImage(6, 2, 1, c_Image::CentreHandle);
    Array<int> pixels(12);
    for (int i = 0; i < 12; ++i) pixels[i] = static_cast<int>(i % 6 < 3 ? 0xFFFF0000 : 0xFF00FF00);
    kp_graphics_device->WritePixels2(image->m_surface, pixels, 0, 0, 6, 2, 0, 6);

    kp_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);
    EXPECT_TRUE(BlockIs(99, 100, 2, 3, 0xFF0000));
    EXPECT_TRUE(BlockIs(99, 97, 2, 3, 0x00FF00));
    EXPECT_TRUE(BlockIs(101, 97, 2, 6, 0));
    EXPECT_TRUE(BlockIs(97, 99, 2, 2, 0));

    kp_graphics_DrawImage2(image, 200, 100, 0, 2, 3, 0);
    EXPECT_TRUE(BlockIs(194, 97, 6, 6, 0xFF0000));
    EXPECT_TRUE(BlockIs(200, 97, 6, 6, 0x00FF00));
    EXPECT_EQ(kp_graphics_context->m_stackTop, 0);
    EXPECT_EQ(kp_graphics_context->m_isTransformed, 0);
}

TEST_F(GraphicsDrawing, PolygonTextureCoordinatesCountFromTheFrame) {
    c_Image* image = ThreeColourFrames(0);
    Array<float> quad(16);
    const float corners[] = {0, 0, 0, 0, 4, 0, 4, 0, 4, 4, 4, 4, 0, 4, 0, 4};
    for (int i = 0; i < 16; ++i) quad[i] = corners[i] + (i % 4 < 2 ? 20 : 0);
    kp_graphics_DrawPoly2(quad, image, 2);
    EXPECT_TRUE(BlockIs(20, 20, 4, 4, kFrameColours[2]));
}

TEST_F(GraphicsDrawing, EllipseIsCentredOnItsPosition) {
    kp_graphics_DrawEllipse(60, 40, 10, 5);
    EXPECT_EQ(Pixel(60, 40), 0xFFFFFFu);
    EXPECT_EQ(Pixel(52, 40), 0xFFFFFFu);
    EXPECT_EQ(Pixel(60, 46), 0u);
    EXPECT_EQ(Pixel(71, 40), 0u);
}

// Counts what reaches the renderer.
class MatrixSpy : public gxtkGraphics {
public:
    int setMatrixCalls = 0;
    int SetMatrix(float a, float b, float c, float d, float tx, float ty) override {
        ++setMatrixCalls;
        return gxtkGraphics::SetMatrix(a, b, c, d, tx, ty);
    }
};

TEST_F(GraphicsDrawing, MatrixIsSentOncePerChange) {
    auto* spy = new MatrixSpy;
    gc_assign(testKept, spy);
    kp_graphics_SetGraphicsDevice(spy);
    spy->BeginRender();
    kp_graphics_BeginRender();
    kp_graphics_DrawRect(0, 0, 2, 2);
    kp_graphics_DrawLine(0, 0, 2, 2);
    EXPECT_EQ(spy->setMatrixCalls, 1);
    kp_graphics_Translate(5, 5);
    kp_graphics_Rotate(10);
    kp_graphics_DrawRect(0, 0, 2, 2);
    kp_graphics_DrawRect(4, 0, 2, 2);
    EXPECT_EQ(spy->setMatrixCalls, 2);
    EXPECT_TRUE(spy->transformed);
    kp_graphics_EndRender();
    spy->EndRender();
    kp_graphics_SetGraphicsDevice(renderer());
    StartFrame();
}

// The module owns the frame's state: each frame starts from the same one.
TEST_F(GraphicsDrawing, BeginRenderStartsFromTheSameState) {
    kp_graphics_SetColor(1, 2, 3);
    kp_graphics_SetAlpha(0.5f);
    kp_graphics_SetBlend(1);
    kp_graphics_SetScissor(5, 5, 10, 10);
    kp_graphics_PushMatrix();
    kp_graphics_Scale(2, 2);
    EndFrame();
    StartFrame();

    c_GraphicsContext* context = kp_graphics_context;
    EXPECT_EQ(kp_graphics_renderDevice, renderer());
    EXPECT_EQ(context->m_stackTop, 0);
    EXPECT_EQ(context->m_isTransformed, 0);
    EXPECT_EQ(context->m_matrixDirty, 1);
    EXPECT_EQ(context->m_blendMode, 0);
    EXPECT_EQ(context->m_scissorW, static_cast<float>(kWidth));
    EXPECT_EQ(context->m_scissorH, static_cast<float>(kHeight));
    EXPECT_EQ(renderer()->packedColor, 0xFFFFFFFFu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    kp_graphics_DrawRect(10, 10, 2, 2);
    EXPECT_EQ(Pixel(10, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(20, 20), 0u);

    kp_graphics_EndRender();
    EXPECT_EQ(kp_graphics_renderDevice, nullptr);
    StartFrame();
}

}  // namespace
