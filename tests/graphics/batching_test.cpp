#include "tests/graphics/render_fixture.h"

namespace {

using RendererBatching = RenderTest;

Array<float> Values(std::initializer_list<float> values) {
    Array<float> array(static_cast<int>(values.size()));
    int i = 0;
    for (float v : values) array[i++] = v;
    return array;
}

TEST_F(RendererBatching, QuadsGoTwoHundredFiftySixToACall) {
    for (int i = 0; i < 256; ++i) renderer()->DrawRect(static_cast<float>(i % 20), 5, 4, 4);
    EXPECT_EQ(DrawCalls(), 0);
    renderer()->DrawRect(0, 20, 4, 4);
    EXPECT_EQ(DrawCalls(), 1);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 2);
    EXPECT_EQ(renderer()->Stats().vertices, 257 * 4);
}

TEST_F(RendererBatching, ColourAlphaAndMatrixChangesShareTheBatch) {
    renderer()->DrawRect(0, 0, 4, 4);
    renderer()->SetColor(10, 200, 30);
    renderer()->DrawRect(8, 0, 4, 4);
    renderer()->SetAlpha(0.25f);
    renderer()->DrawRect(16, 0, 4, 4);
    renderer()->SetMatrix(2, 0, 0, 2, 5, 5);
    renderer()->DrawRect(24, 0, 4, 4);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 1);
}

TEST_F(RendererBatching, ATextureChangeStartsANewBatch) {
    gxtkSurface* one = renderer()->CreateSurface(4, 4);
    gxtkSurface* two = renderer()->CreateSurface(4, 4);
    renderer()->DrawRect(0, 0, 4, 4);
    renderer()->DrawSurface(one, 0, 0);
    renderer()->DrawSurface2(one, 8, 0, 0, 0, 2, 2);
    renderer()->DrawSurface(two, 16, 0);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 3);
}

TEST_F(RendererBatching, PointsAndLinesNeverShare) {
    renderer()->DrawPoint(1, 1);
    renderer()->DrawPoint(2, 1);
    renderer()->DrawLine(0, 0, 5, 5);
    renderer()->DrawPoint(3, 1);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 3);
}

// A polygon's kind is its vertex count, so small ones join the fixed kinds.
TEST_F(RendererBatching, SmallPolygonsJoinTheMatchingKind) {
    renderer()->DrawPoly(Values({0, 0, 10, 0, 0, 10}));
    renderer()->DrawPoly(Values({20, 0, 30, 0, 20, 10, 99}));
    EXPECT_EQ(DrawCalls(), 0);
    renderer()->DrawRect(0, 20, 5, 5);
    renderer()->DrawPoly(Values({10, 20, 15, 20, 15, 25, 10, 25}));
    renderer()->DrawRect(20, 20, 5, 5);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 2);
    EXPECT_EQ(renderer()->Stats().vertices, 6 + 12);
}

TEST_F(RendererBatching, LargerPolygonsShareABatchButTakeAFanEach) {
    Array<float> pentagon = Values({0, 0, 10, 0, 12, 8, 5, 12, -2, 8});
    renderer()->DrawPoly(pentagon);
    renderer()->DrawPoly(pentagon);
    renderer()->DrawPoly(pentagon);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 3);
    EXPECT_EQ(renderer()->Stats().vertices, 15);
}

TEST_F(RendererBatching, PolygonsOutsideTheVertexLimitsDrawNothing) {
    renderer()->DrawPoly(Array<float>());
    renderer()->DrawPoly(Values({5}));
    renderer()->DrawPoly(Array<float>(2 * 1025));
    renderer()->DrawPoly2(Array<float>(3), renderer()->CreateSurface(2, 2), 0, 0);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 0);
    renderer()->DrawPoly(Array<float>(2 * 1024));
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 1);
}

struct OvalCase {
    float width, height;
    float scale;
    int segments;
};

class OvalSegments : public RenderTest, public ::testing::WithParamInterface<OvalCase> {};

// An oval is one fan; its vertex count is its segment count.
TEST_P(OvalSegments, FollowTheRadiiOnScreen) {
    const OvalCase& c = GetParam();
    renderer()->SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
    renderer()->DrawOval(0, 0, c.width, c.height);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 1);
    EXPECT_EQ(renderer()->Stats().vertices, c.segments);
}

INSTANTIATE_TEST_SUITE_P(Renderer, OvalSegments,
                         ::testing::Values(OvalCase{10, 10, 1, 12}, OvalCase{100, 60, 1, 80},
                                           OvalCase{1000, 2000, 1, 1024}, OvalCase{2, 2, 1, 12},
                                           OvalCase{-30, 20, 1, 24}, OvalCase{10, 10, 2, 20},
                                           OvalCase{10, 11, 1, 12}, OvalCase{46, 0, 1, 20}));

TEST_F(RendererBatching, OvalsOfOneSegmentCountShareABatch) {
    renderer()->DrawOval(0, 0, 10, 10);
    renderer()->DrawOval(20, 0, 8, 12);
    renderer()->DrawOval(40, 0, 100, 60);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 3);
    EXPECT_EQ(renderer()->Stats().vertices, 12 + 12 + 80);
}

TEST_F(RendererBatching, ClsDropsPendingVerticesUndrawn) {
    renderer()->SetColor(255, 0, 0);
    renderer()->DrawRect(0, 0, 50, 50);
    renderer()->DrawRect(60, 60, 5, 5);
    renderer()->Cls(0, 0, 40);
    renderer()->EndRender();
    EXPECT_EQ(DrawCalls(), 0);
    EXPECT_EQ(Pixel(10, 10), 0x000028u);
}

// Callers set the blend before every draw, so setting the one in force
// keeps the batch open.
TEST_F(RendererBatching, BlendChangeAndScissorSendTheBatch) {
    renderer()->DrawRect(0, 0, 4, 4);
    renderer()->SetBlend(0);
    EXPECT_EQ(DrawCalls(), 0);
    renderer()->SetBlend(1);
    EXPECT_EQ(DrawCalls(), 1);
    renderer()->DrawRect(0, 0, 4, 4);
    renderer()->SetBlend(1);
    renderer()->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_EQ(DrawCalls(), 2);
    renderer()->SetBlend(0);
    renderer()->SetScissor(1, 1, 2, 2);
    EXPECT_EQ(DrawCalls(), 2);
}

}  // namespace
