#include <cmath>

#include "native/graphics/gxtk_graphics.h"

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr int kMinOvalSegments = 12;

}  // namespace

// Points and lines sit on pixel centres, so they light the pixel they name.
int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex* v = Begin(1, 1, nullptr);
    Put(v, x, y);
    v->x += 0.5f;
    v->y += 0.5f;
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    gxtkVertex* v = Begin(2, 2, nullptr);
    Put(v, x1, y1);
    Put(v + 1, x2, y2);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    gxtkVertex* v = Begin(4, 4, nullptr);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
    return 0;
}

// Texture coordinates are given in source pixels; the surface's scales
// turn them into texture space. They are known once Begin has made the
// surface's texture.
int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return 0;
    gxtkVertex* at = Begin(4, 4, surface);
    auto w = static_cast<float>(surface->Width());
    auto h = static_cast<float>(surface->Height());
    float u = w * surface->uScale;
    float v = h * surface->vScale;
    PutTextured(at, x, y, 0, 0);
    PutTextured(at + 1, x + w, y, u, 0);
    PutTextured(at + 2, x + w, y + h, u, v);
    PutTextured(at + 3, x, y + h, 0, v);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH) {
    if (!surface) return 0;
    gxtkVertex* at = Begin(4, 4, surface);
    auto w = static_cast<float>(srcW);
    auto h = static_cast<float>(srcH);
    float u0 = static_cast<float>(srcX) * surface->uScale;
    float v0 = static_cast<float>(srcY) * surface->vScale;
    float u1 = static_cast<float>(srcX + srcW) * surface->uScale;
    float v1 = static_cast<float>(srcY + srcH) * surface->vScale;
    PutTextured(at, x, y, u0, v0);
    PutTextured(at + 1, x + w, y, u1, v0);
    PutTextured(at + 2, x + w, y + h, u1, v1);
    PutTextured(at + 3, x, y + h, u0, v1);
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
    int n = xy.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) Put(v + i, xy[2 * i], xy[2 * i + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcX, int srcY) {
    int n = xyuv.Length() / 4;
    if (!surface || n < 1 || n > kMaxVertices) return 0;
    gxtkVertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        const float* p = &xyuv[4 * i];
        PutTextured(v + i, p[0], p[1], (p[2] + static_cast<float>(srcX)) * surface->uScale,
                    (p[3] + static_cast<float>(srcY)) * surface->vScale);
    }
    return 0;
}

// One fan from the rightmost point, running counter-clockwise on screen.
int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w * 0.5f;
    float ry = h * 0.5f;
    int n = OvalSegments(rx, ry);
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        float theta = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
        Put(v + i, x + rx + std::cos(theta) * rx, y + ry - std::sin(theta) * ry);
    }
    return 0;
}

// About one segment per pixel of the radii as they appear on screen, a
// multiple of four from 12 to the batch size.
int gxtkGraphics::OvalSegments(float rx, float ry) const {
    float s;
    if (transformed) {
        s = std::trunc(std::sqrt(a * rx * (a * rx) + b * rx * (b * rx)) +
                       std::sqrt(c * ry * (c * ry) + d * ry * (d * ry)));
    } else {
        s = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
    }
    if (s <= kMinOvalSegments - 1) return kMinOvalSegments;
    if (s <= kMaxVertices) return static_cast<int>(s) & ~3;
    return kMaxVertices;
}
