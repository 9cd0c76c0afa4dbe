#pragma once

#include <string>

#include <bit>
#include <cstdint>

#include "native/graphics/gxtk_surface.h"
#include "runtime/kp_array.h"

// One vertex of the interleaved batch array; OpenGL reads it with a stride
// of 20 bytes, so the layout is fixed.
struct gxtkVertex {
    float x;
    float y;
    float u;
    float v;
    std::uint32_t color;  // bytes R, G, B, A in memory order
};
static_assert(sizeof(gxtkVertex) == 20);
static_assert(std::endian::native == std::endian::little, "packed colours are laid out R first in memory");

// What the renderer sent to OpenGL since the last BeginRender.
struct gxtkRenderStats {
    int drawCalls;
    int vertices;
};

// The 2D renderer on the fixed-function pipeline. Draw operations append
// vertices to one batch, coloured and transformed on the CPU, so colour
// and matrix changes never cost a draw call; the batch goes to OpenGL when
// a draw cannot join it, on blend, scissor or read-back, and at frame end.
class gxtkGraphics : public Object {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;

    int width = 0;
    int height = 0;
    std::uint32_t packedColor = 0xFFFFFFFF;
    float red = 255;
    float green = 255;
    float blue = 255;
    float alpha = 1;
    float a = 1;
    float b = 0;
    float c = 0;
    float d = 1;
    float tx = 0;
    float ty = 0;
    bool transformed = false;
    gxtkVertex vertices[kMaxVertices]{};
    std::uint16_t quadIndices[kMaxQuads * 6];
    int batchKind = 0;
    int vertexCount = 0;
    gxtkSurface* batchSurface = nullptr;
    int blendAdditive = 0;

    gxtkGraphics();

    virtual int Width();
    virtual int Height();
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics();
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, const std::string& systemPath);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> xy);
    virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcX, int srcY);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH);
    // A read outside the window, a write outside the surface, or a block
    // that runs past the array is ignored.
    virtual void ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual void WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                              int pitch);

    // The first of `count` free vertex slots in a batch of `kind` on
    // `surface`, sending the open batch first when it cannot take them;
    // the surface has its texture afterwards.
    gxtkVertex* Begin(int kind, int count, gxtkSurface* surface);
    void Flush();
    gxtkRenderStats Stats() const { return stats; }

private:
    gxtkRenderStats stats{};

    void ReadWindowSize();
    void PackColor();
    void EnableClientArrays();
    void IssueDrawCalls();
    int OvalSegments(float rx, float ry) const;

    void Put(gxtkVertex* vertex, float x, float y) const {
        if (transformed) {
            vertex->x = a * x + c * y + tx;
            vertex->y = b * x + d * y + ty;
        } else {
            vertex->x = x;
            vertex->y = y;
        }
        vertex->color = packedColor;
    }

    void PutTextured(gxtkVertex* vertex, float x, float y, float u, float v) const {
        Put(vertex, x, y);
        vertex->u = u;
        vertex->v = v;
    }
};
