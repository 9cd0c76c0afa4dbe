#include "tests/graphics/module_fixture.h"

namespace {

struct Point {
    float x, y;
};

// Where the context's matrix takes (x, y).
Point Apply(float x, float y) {
    c_GraphicsContext* m = kp_graphics_context;
    return {m->m_a * x + m->m_c * y + m->m_tx, m->m_b * x + m->m_d * y + m->m_ty};
}

using GraphicsMatrix = GraphicsModuleTest;

TEST_F(GraphicsMatrix, ChangesAreKeptUntilTheNextDraw) {
    c_GraphicsContext* context = kp_graphics_context;
    EXPECT_EQ(context->m_isTransformed, 0);
    EXPECT_EQ(context->m_matrixDirty, 0);
    kp_graphics_Translate(0, 0);
    EXPECT_EQ(context->m_isTransformed, 0);
    EXPECT_EQ(context->m_matrixDirty, 1);
    kp_graphics_Translate(3, 0);
    EXPECT_EQ(context->m_isTransformed, 1);
}

TEST_F(GraphicsMatrix, GivenTransformAppliesFirst) {
    kp_graphics_Translate(10, 20);
    kp_graphics_Scale(2, 3);
    Point p = Apply(1, 1);
    EXPECT_FLOAT_EQ(p.x, 12);
    EXPECT_FLOAT_EQ(p.y, 23);

    float values[] = {0, 1, 1, 0, 5, 0};
    Array<float> swap(6);
    for (int i = 0; i < 6; ++i) swap[i] = values[i];
    kp_graphics_Transform2(swap);
    p = Apply(1, 2);  // swapped to (7, 1), then scaled and moved
    EXPECT_FLOAT_EQ(p.x, 24);
    EXPECT_FLOAT_EQ(p.y, 23);

    kp_graphics_SetMatrix2(swap);
    p = Apply(1, 2);
    EXPECT_FLOAT_EQ(p.x, 7);
    EXPECT_FLOAT_EQ(p.y, 1);
}

// Positive angles turn counter-clockwise on a y-down screen.
TEST_F(GraphicsMatrix, RotateTurnsTheXAxisUp) {
    kp_graphics_Rotate(90);
    Point p = Apply(10, 0);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.y, -10, 1e-5);
}

TEST_F(GraphicsMatrix, StackDoublesWhenFullAndPopsInReverse) {
    c_GraphicsContext* context = kp_graphics_context;
    EXPECT_EQ(context->m_matrixStack.Length(), 192);
    for (int i = 0; i < 33; ++i) {
        kp_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        kp_graphics_PushMatrix();
    }
    EXPECT_EQ(context->m_matrixStack.Length(), 384);
    EXPECT_EQ(context->m_stackTop, 33 * 6);
    for (int i = 32; i >= 0; --i) {
        kp_graphics_PopMatrix();
        EXPECT_EQ(context->m_tx, static_cast<float>(i));
    }
    EXPECT_EQ(context->m_stackTop, 0);
}

}  // namespace
