#include <algorithm>
#include <cmath>

#include "framework/graphics/graphics.h"
#include "framework/graphics/graphics_checks.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr int kMatrixFloats = 6;

const float* SixValues(const Array<float>& m) {
    kp_graphics__CheckIndex(kMatrixFloats - 1, m.Length());
    return m.Data();
}

}  // namespace

// The renderer hears of the change at the next draw (p_Validate).
int kp_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext* context = kp_graphics_context;
    context->m_a = a;
    context->m_b = b;
    context->m_c = c;
    context->m_d = d;
    context->m_tx = tx;
    context->m_ty = ty;
    context->m_isTransformed = a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0 ? 0 : 1;
    context->m_matrixDirty = 1;
    return 0;
}

int kp_graphics_SetMatrix2(Array<float> m) {
    const float* v = SixValues(m);
    return kp_graphics_SetMatrix(v[0], v[1], v[2], v[3], v[4], v[5]);
}

// The given matrix applies first, the current one after it.
int kp_graphics_Transform(float p, float q, float r, float s, float u, float v) {
    c_GraphicsContext* m = kp_graphics_context;
    return kp_graphics_SetMatrix(m->m_a * p + m->m_c * q, m->m_b * p + m->m_d * q, m->m_a * r + m->m_c * s,
                                 m->m_b * r + m->m_d * s, m->m_a * u + m->m_c * v + m->m_tx,
                                 m->m_b * u + m->m_d * v + m->m_ty);
}

int kp_graphics_Transform2(Array<float> m) {
    const float* v = SixValues(m);
    return kp_graphics_Transform(v[0], v[1], v[2], v[3], v[4], v[5]);
}

int kp_graphics_Translate(float x, float y) { return kp_graphics_Transform(1, 0, 0, 1, x, y); }

int kp_graphics_Scale(float x, float y) { return kp_graphics_Transform(x, 0, 0, y, 0, 0); }

int kp_graphics_Rotate(float degrees) {
    double theta = degrees * kRadiansPerDegree;
    auto cosine = static_cast<float>(std::cos(theta));
    auto sine = static_cast<float>(std::sin(theta));
    return kp_graphics_Transform(cosine, -sine, sine, cosine, 0, 0);
}

// The stack has no fixed depth: it doubles whenever it is full.
int kp_graphics_PushMatrix() {
    c_GraphicsContext* context = kp_graphics_context;
    int length = context->m_matrixStack.Length();
    if (context->m_stackTop + kMatrixFloats > length) {
        gc_assign(context->m_matrixStack,
                  context->m_matrixStack.Resize(std::max(length * 2, context->m_stackTop + kMatrixFloats)));
    }
    float* at = &context->m_matrixStack[context->m_stackTop];
    at[0] = context->m_a;
    at[1] = context->m_b;
    at[2] = context->m_c;
    at[3] = context->m_d;
    at[4] = context->m_tx;
    at[5] = context->m_ty;
    context->m_stackTop += kMatrixFloats;
    return 0;
}

int kp_graphics_PopMatrix() {
    c_GraphicsContext* context = kp_graphics_context;
    int top = context->m_stackTop - kMatrixFloats;
    kp_graphics__CheckIndex(top, context->m_matrixStack.Length());
    const float* m = &context->m_matrixStack[top];
    kp_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
    context->m_stackTop = top;
    return 0;
}
