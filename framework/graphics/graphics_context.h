#pragma once

#include "runtime/kp_array.h"

class c_Image;

// The drawing state of the frame. Colour, alpha, blend and scissor reach
// the renderer at once; the matrix only at the next draw (p_Validate), so a
// run of draws under one matrix sends it once.
class c_GraphicsContext : public Object {
public:
    c_Image* m_defaultFont = nullptr;
    c_Image* m_currentFont = nullptr;
    int m_fontFirstChar = 0;
    int m_stackTop = 0;
    float m_a = 1;
    float m_b = 0;
    float m_c = 0;
    float m_d = 1;
    float m_tx = 0;
    float m_ty = 0;
    int m_isTransformed = 0;
    int m_matrixDirty = 0;
    float m_colorR = 0;
    float m_colorG = 0;
    float m_colorB = 0;
    float m_alpha = 0;
    int m_blendMode = 0;
    float m_scissorX = 0;
    float m_scissorY = 0;
    float m_scissorW = 0;
    float m_scissorH = 0;
    Array<float> m_matrixStack;

    c_GraphicsContext* m_new();
    int p_Validate();
    void mark() override;
};
