#include "framework/graphics/graphics_context.h"

#include "framework/graphics/graphics_checks.h"
#include "framework/graphics/image.h"

namespace {

constexpr int kInitialStackFloats = 32 * 6;

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_matrixStack, Array<float>(kInitialStackFloats));
    return this;
}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty) {
        kp_graphics__RenderDevice()->SetMatrix(m_a, m_b, m_c, m_d, m_tx, m_ty);
        m_matrixDirty = 0;
    }
    return 0;
}

void c_GraphicsContext::mark() {
    Object::mark();
    gc_mark(m_defaultFont);
    gc_mark(m_currentFont);
    gc_mark(m_matrixStack);
}
