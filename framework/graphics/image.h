#pragma once

#include "native/graphics/gxtk_surface.h"
#include "runtime/kp_array.h"

// The top-left corner of one frame on its image's surface.
class c_Frame : public Object {
public:
    int m_x = 0;
    int m_y = 0;

    c_Frame* m_new(int x, int y);
};

// Equally sized frames cut from one surface, with a handle: the point of a
// frame that lands on the drawing position.
class c_Image : public Object {
public:
    static constexpr int CentreHandle = 1;
    static constexpr int BorderX = 2;
    static constexpr int BorderY = 4;
    // Set by the module only: one frame covering the whole surface.
    static constexpr int WholeSurface = 0x10000;

    gxtkSurface* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0;
    float m_handleY = 0;
    c_Image* m_source = nullptr;

    c_Image* m_new() { return this; }
    // A horizontal strip of frameCount frames.
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // A grid of frames read row by row inside (srcX, srcY, srcW, srcH),
    // starting at (x, y) relative to it.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount, int flags,
                     c_Image* source, int srcX, int srcY, int srcW, int srcH);
    c_Image* p_ApplyFlags(int flags);
    c_Image* p_SetHandle(float x, float y);
    void mark() override;

private:
    void TakeSurface(gxtkSurface* surface, c_Image* source, int frameCount);
    bool CoversWholeSurface();
};
