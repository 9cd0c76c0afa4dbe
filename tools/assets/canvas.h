// Float RGBA canvases, anti-aliased shape filling from distance functions,
// pixel-art helpers and PNG output.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// Colours are written as 0xRRGGBB with an optional alpha.
constexpr Rgba hex(uint32_t rgb, float a = 1.0f) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}
Rgba mix(Rgba a, Rgba b, float t);
Rgba withAlpha(Rgba c, float a);
Rgba shade(Rgba c, float k);  // k < 1 darkens, k > 1 lightens toward white

struct Canvas {
    int w = 0, h = 0;
    std::vector<Rgba> px;
    Canvas() = default;
    Canvas(int width, int height) : w(width), h(height), px(size_t(width) * height) {}
    Rgba& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Rgba& at(int x, int y) const { return px[size_t(y) * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    void blend(int x, int y, Rgba c);  // source-over
    void blit(const Canvas& src, int dx, int dy);  // copies pixels, no blending
    void over(const Canvas& src, int dx, int dy);  // source-over
};

struct V2 {
    float x = 0, y = 0;
};
inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float s) { return {a.x * s, a.y * s}; }
inline float dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
inline float len(V2 a) { return std::sqrt(dot(a, a)); }
V2 rot(V2 p, float degrees);
V2 polar(float degrees, float r);  // 0 degrees points up, clockwise

// Signed distances in design units (factor-1 pixels); negative inside. The
// bounds hold the shape so fills only visit the pixels it can touch.
struct Sdf {
    std::function<float(V2)> f;
    float x0 = -1e9f, y0 = -1e9f, x1 = 1e9f, y1 = 1e9f;
    float operator()(V2 p) const { return f(p); }
};
Sdf circle(V2 c, float r);
Sdf ring(V2 c, float r, float halfWidth);
Sdf box(V2 c, V2 half, float radius = 0);
Sdf capsule(V2 a, V2 b, float r);
Sdf polygon(std::vector<V2> pts);  // any simple polygon
Sdf star(V2 c, int points, float outer, float inner, float turn = 0);
Sdf ellipse(V2 c, V2 radii);
Sdf unite(Sdf a, Sdf b);
Sdf intersect(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
Sdf grow(Sdf a, float by);
Sdf rotated(Sdf a, V2 centre, float degrees);

using Paint = std::function<Rgba(V2)>;
Paint solid(Rgba c);
Paint vgrad(float y0, Rgba c0, float y1, Rgba c1);
Paint radial(V2 c, float r, Rgba inner, Rgba outer);

// Takes a pen's fills as shapes instead of pixels, e.g. to write vectors.
using ShapeSink = std::function<void(const Sdf& shape, const Paint& paint, float alpha)>;

// A pen draws into one frame of a canvas: design coordinates run over the
// frame at factor 1 and are scaled by `s` device pixels per unit. With a
// sink, fills and outlines go to the sink and the canvas is not touched;
// glows need the canvas.
struct Pen {
    Canvas* c = nullptr;
    int ox = 0, oy = 0, fw = 0, fh = 0;  // frame rectangle in device pixels
    float s = 1;
    ShapeSink sink;

    void fill(const Sdf& shape, const Paint& paint, float alpha = 1) const;
    void fill(const Sdf& shape, Rgba colour) const { fill(shape, solid(colour)); }
    // Fill with an outline of `width` design units around it.
    void outlined(const Sdf& shape, const Paint& paint, Rgba line, float width) const;
    void outlined(const Sdf& shape, Rgba colour, Rgba line, float width) const {
        outlined(shape, solid(colour), line, width);
    }
    // Soft glow: alpha falls off over `radius` outside the shape.
    void glow(const Sdf& shape, Rgba colour, float radius) const;

  private:
    void span(const Sdf& shape, float margin, int& xa, int& ya, int& xb, int& yb) const;
};

// Pixel art: each character of a row picks a colour from the palette; any
// character not in the palette is transparent.
struct Palette {
    std::string keys;
    std::vector<Rgba> colours;
    bool find(char k, Rgba& out) const;
};
void drawMap(Canvas& c, int x, int y, const std::vector<std::string>& rows, const Palette& pal,
             bool mirror = false);

// Scale2x: enlarges pixel art by two without blur, rounding diagonal steps.
Canvas scale2x(const Canvas& src);
Canvas pixelScale(const Canvas& src, int factor);  // Scale2x once or twice
Canvas blockScale(const Canvas& src, int factor);  // every pixel becomes a block

bool writePng(const std::string& path, const Canvas& c);
void makeDirs(const std::string& path);  // creates every folder of a file path

// Deterministic random numbers for procedural detail.
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed * 2654435761u + 12345u) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    float unit() { return (next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    int pick(int n) { return int(next() % uint32_t(n)); }
};

}  // namespace art
