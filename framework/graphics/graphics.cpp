#include "framework/graphics/graphics.h"

#include <cmath>

#include "framework/app/app.h"
#include "framework/graphics/graphics_checks.h"

gxtkGraphics* kp_graphics_device;
c_GraphicsContext* kp_graphics_context;
gxtkGraphics* kp_graphics_renderDevice;

namespace {

constexpr int kFontFrames = 96;
constexpr int kFontFirstChar = 32;

// Toward zero, saturating where the value has no int.
int Truncated(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return 2147483647;
    if (value <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<int>(value);
}

}  // namespace

void kp_graphics_init() {
    kp_graphics_device = nullptr;
    gc_assign(kp_graphics_context, (new c_GraphicsContext)->m_new());
    kp_graphics_renderDevice = nullptr;
}

void kp_graphics_mark() {
    gc_mark(kp_graphics_device);
    gc_mark(kp_graphics_context);
    gc_mark(kp_graphics_renderDevice);
}

int kp_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    gc_assign(kp_graphics_device, device);
    return 0;
}

// The renderer does not reset its state between frames, so the module sends
// the same starting state every frame. The scissor covers the whole device,
// which turns scissoring off.
int kp_graphics_BeginRender() {
    gc_assign(kp_graphics_renderDevice, kp_graphics_device);
    kp_graphics_context->m_stackTop = 0;
    kp_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kp_graphics_SetColor(255, 255, 255);
    kp_graphics_SetAlpha(1);
    kp_graphics_SetBlend(0);
    kp_graphics_SetScissor(0, 0, static_cast<float>(kp_app_DeviceWidth()), static_cast<float>(kp_app_DeviceHeight()));
    return 0;
}

int kp_graphics_EndRender() {
    kp_graphics_renderDevice = nullptr;
    return 0;
}

int kp_graphics_SetColor(float r, float g, float b) {
    kp_graphics_context->m_colorR = r;
    kp_graphics_context->m_colorG = g;
    kp_graphics_context->m_colorB = b;
    kp_graphics__RenderDevice()->SetColor(r, g, b);
    return 0;
}

int kp_graphics_SetAlpha(float alpha) {
    kp_graphics_context->m_alpha = alpha;
    kp_graphics__RenderDevice()->SetAlpha(alpha);
    return 0;
}

int kp_graphics_SetBlend(int mode) {
    kp_graphics_context->m_blendMode = mode;
    kp_graphics__RenderDevice()->SetBlend(mode);
    return 0;
}

int kp_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* context = kp_graphics_context;
    context->m_scissorX = x;
    context->m_scissorY = y;
    context->m_scissorW = w;
    context->m_scissorH = h;
    kp_graphics__RenderDevice()->SetScissor(Truncated(x), Truncated(y), Truncated(w), Truncated(h));
    return 0;
}

// A null font asks for the framework font, loaded on first need.
int kp_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* context = kp_graphics_context;
    if (!font) {
        if (!context->m_defaultFont) {
            gc_assign(context->m_defaultFont, kp_graphics_LoadImage(String("qira_font.png"), kFontFrames,
                                                                    c_Image::BorderX));
        }
        font = context->m_defaultFont;
        firstChar = kFontFirstChar;
    }
    gc_assign(context->m_currentFont, font);
    context->m_fontFirstChar = firstChar;
    return 0;
}
