#include "canvas.h"

#include <filesystem>

#include <stb/stb_image_write.h>

namespace art {

namespace {
float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
Sdf make(std::function<float(V2)> f, float x0, float y0, float x1, float y1) {
    Sdf s;
    s.f = std::move(f);
    s.x0 = x0;
    s.y0 = y0;
    s.x1 = x1;
    s.y1 = y1;
    return s;
}
}  // namespace

Rgba mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Rgba withAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }
Rgba shade(Rgba c, float k) {
    if (k <= 1) return {c.r * k, c.g * k, c.b * k, c.a};
    float t = clamp01(k - 1);
    return {c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a};
}

void Canvas::blend(int x, int y, Rgba s) {
    if (!inside(x, y) || s.a <= 0) return;
    Rgba& d = at(x, y);
    float a = s.a + d.a * (1 - s.a);
    if (a <= 0) return;
    float kd = d.a * (1 - s.a);
    d.r = (s.r * s.a + d.r * kd) / a;
    d.g = (s.g * s.a + d.g * kd) / a;
    d.b = (s.b * s.a + d.b * kd) / a;
    d.a = a;
}

void Canvas::blit(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x)
            if (inside(dx + x, dy + y)) at(dx + x, dy + y) = src.at(x, y);
}

void Canvas::over(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) blend(dx + x, dy + y, src.at(x, y));
}

V2 rot(V2 p, float degrees) {
    float a = degrees * 3.14159265f / 180.0f;
    float c = std::cos(a), s = std::sin(a);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

V2 polar(float degrees, float r) {
    float a = degrees * 3.14159265f / 180.0f;
    return {std::sin(a) * r, -std::cos(a) * r};
}

Sdf circle(V2 c, float r) {
    return make([=](V2 p) { return len(p - c) - r; }, c.x - r, c.y - r, c.x + r, c.y + r);
}

Sdf ring(V2 c, float r, float hw) {
    return make([=](V2 p) { return std::fabs(len(p - c) - r) - hw; }, c.x - r - hw, c.y - r - hw,
                c.x + r + hw, c.y + r + hw);
}

Sdf box(V2 c, V2 half, float radius) {
    return make(
        [=](V2 p) {
            float qx = std::fabs(p.x - c.x) - half.x + radius;
            float qy = std::fabs(p.y - c.y) - half.y + radius;
            float outside = len({std::max(qx, 0.0f), std::max(qy, 0.0f)});
            return outside + std::min(std::max(qx, qy), 0.0f) - radius;
        },
        c.x - half.x, c.y - half.y, c.x + half.x, c.y + half.y);
}

Sdf capsule(V2 a, V2 b, float r) {
    return make(
        [=](V2 p) {
            V2 pa = p - a, ba = b - a;
            float dd = dot(ba, ba);
            float h = dd > 0 ? clamp01(dot(pa, ba) / dd) : 0;
            return len(pa - ba * h) - r;
        },
        std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r);
}

Sdf polygon(std::vector<V2> v) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (V2 q : v) {
        x0 = std::min(x0, q.x);
        y0 = std::min(y0, q.y);
        x1 = std::max(x1, q.x);
        y1 = std::max(y1, q.y);
    }
    return make(
        [v](V2 p) {
            size_t n = v.size();
            float d = dot(p - v[0], p - v[0]);
            float sign = 1;
            for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
                V2 e = v[j] - v[i], w = p - v[i];
                float h = clamp01(dot(w, e) / dot(e, e));
                V2 b = w - e * h;
                d = std::min(d, dot(b, b));
                bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
                if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
            }
            return sign * std::sqrt(d);
        },
        x0, y0, x1, y1);
}

Sdf star(V2 c, int points, float outer, float inner, float turn) {
    std::vector<V2> v;
    for (int i = 0; i < points * 2; ++i)
        v.push_back(c + polar(turn + i * 180.0f / points, (i % 2) ? inner : outer));
    return polygon(v);
}

Sdf ellipse(V2 c, V2 r) {
    return make(
        [=](V2 p) {
            V2 q = p - c;
            float k0 = len({q.x / r.x, q.y / r.y});
            float k1 = len({q.x / (r.x * r.x), q.y / (r.y * r.y)});
            if (k1 <= 0) return -std::min(r.x, r.y);
            return k0 * (k0 - 1) / k1;
        },
        c.x - r.x, c.y - r.y, c.x + r.x, c.y + r.y);
}

Sdf unite(Sdf a, Sdf b) {
    float x0 = std::min(a.x0, b.x0), y0 = std::min(a.y0, b.y0);
    float x1 = std::max(a.x1, b.x1), y1 = std::max(a.y1, b.y1);
    return make([a, b](V2 p) { return std::min(a(p), b(p)); }, x0, y0, x1, y1);
}

Sdf intersect(Sdf a, Sdf b) {
    float x0 = std::max(a.x0, b.x0), y0 = std::max(a.y0, b.y0);
    float x1 = std::min(a.x1, b.x1), y1 = std::min(a.y1, b.y1);
    return make([a, b](V2 p) { return std::max(a(p), b(p)); }, x0, y0, x1, y1);
}

Sdf subtract(Sdf a, Sdf b) {
    return make([a, b](V2 p) { return std::max(a(p), -b(p)); }, a.x0, a.y0, a.x1, a.y1);
}

Sdf grow(Sdf a, float by) {
    return make([a, by](V2 p) { return a(p) - by; }, a.x0 - by, a.y0 - by, a.x1 + by, a.y1 + by);
}

Sdf rotated(Sdf a, V2 c, float degrees) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (V2 q : {V2{a.x0, a.y0}, V2{a.x1, a.y0}, V2{a.x0, a.y1}, V2{a.x1, a.y1}}) {
        V2 r = c + rot(q - c, degrees);
        x0 = std::min(x0, r.x);
        y0 = std::min(y0, r.y);
        x1 = std::max(x1, r.x);
        y1 = std::max(y1, r.y);
    }
    return make([a, c, degrees](V2 p) { return a(c + rot(p - c, -degrees)); }, x0, y0, x1, y1);
}

Paint solid(Rgba c) {
    return [c](V2) { return c; };
}
Paint vgrad(float y0, Rgba c0, float y1, Rgba c1) {
    return [=](V2 p) { return mix(c0, c1, clamp01((p.y - y0) / (y1 - y0))); };
}
Paint radial(V2 c, float r, Rgba inner, Rgba outer) {
    return [=](V2 p) { return mix(inner, outer, clamp01(len(p - c) / r)); };
}

void Pen::span(const Sdf& shape, float margin, int& xa, int& ya, int& xb, int& yb) const {
    auto lo = [&](float v, int hi) { return int(std::clamp(std::floor(v * s - margin), 0.0f, float(hi))); };
    auto up = [&](float v, int hi) { return int(std::clamp(std::ceil(v * s + margin), 0.0f, float(hi))); };
    xa = lo(shape.x0, fw);
    ya = lo(shape.y0, fh);
    xb = up(shape.x1, fw);
    yb = up(shape.y1, fh);
}

void Pen::fill(const Sdf& shape, const Paint& paint, float alpha) const {
    if (sink) {
        sink(shape, paint, alpha);
        return;
    }
    int xa, ya, xb, yb;
    span(shape, 2, xa, ya, xb, yb);
    for (int y = ya; y < yb; ++y)
        for (int x = xa; x < xb; ++x) {
            V2 p{(x + 0.5f) / s, (y + 0.5f) / s};
            float cov = clamp01(0.5f - shape(p) * s);
            if (cov <= 0) continue;
            Rgba col = paint(p);
            col.a *= cov * alpha;
            c->blend(ox + x, oy + y, col);
        }
}

void Pen::outlined(const Sdf& shape, const Paint& paint, Rgba line, float width) const {
    fill(grow(shape, width), line);
    fill(shape, paint);
}

void Pen::glow(const Sdf& shape, Rgba colour, float radius) const {
    int xa, ya, xb, yb;
    span(grow(shape, radius), 1, xa, ya, xb, yb);
    for (int y = ya; y < yb; ++y)
        for (int x = xa; x < xb; ++x) {
            V2 p{(x + 0.5f) / s, (y + 0.5f) / s};
            float d = std::max(shape(p), 0.0f) / radius;
            if (d >= 1) continue;
            float k = (1 - d) * (1 - d);
            c->blend(ox + x, oy + y, withAlpha(colour, colour.a * k));
        }
}

bool Palette::find(char k, Rgba& out) const {
    size_t i = keys.find(k);
    if (i == std::string::npos || i >= colours.size()) return false;
    out = colours[i];
    return true;
}

void drawMap(Canvas& c, int x, int y, const std::vector<std::string>& rows, const Palette& pal, bool mirror) {
    for (size_t j = 0; j < rows.size(); ++j) {
        int n = int(rows[j].size());
        for (int i = 0; i < n; ++i) {
            Rgba col;
            if (pal.find(rows[j][i], col)) c.blend(x + (mirror ? n - 1 - i : i), y + int(j), col);
        }
    }
}

namespace {
uint32_t key(const Rgba& c) {
    if (c.a <= 0.002f) return 0;
    auto q = [](float v) { return uint32_t(std::lround(clamp01(v) * 255)); };
    return q(c.r) << 24 | q(c.g) << 16 | q(c.b) << 8 | q(c.a);
}
}  // namespace

Canvas scale2x(const Canvas& src) {
    Canvas out(src.w * 2, src.h * 2);
    auto get = [&](int x, int y) -> const Rgba& {
        x = std::clamp(x, 0, src.w - 1);
        y = std::clamp(y, 0, src.h - 1);
        return src.at(x, y);
    };
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            const Rgba& P = src.at(x, y);
            const Rgba& A = get(x, y - 1);
            const Rgba& B = get(x + 1, y);
            const Rgba& C = get(x - 1, y);
            const Rgba& D = get(x, y + 1);
            uint32_t a = key(A), b = key(B), c = key(C), d = key(D);
            out.at(2 * x, 2 * y) = (c == a && c != d && a != b) ? A : P;
            out.at(2 * x + 1, 2 * y) = (a == b && a != c && b != d) ? B : P;
            out.at(2 * x, 2 * y + 1) = (d == c && d != b && c != a) ? C : P;
            out.at(2 * x + 1, 2 * y + 1) = (b == d && b != a && d != c) ? D : P;
        }
    return out;
}

Canvas pixelScale(const Canvas& src, int factor) {
    Canvas c = src;
    for (int f = 1; f < factor; f *= 2) c = scale2x(c);
    return c;
}

Canvas blockScale(const Canvas& src, int factor) {
    Canvas out(src.w * factor, src.h * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) out.at(x, y) = src.at(x / factor, y / factor);
    return out;
}

bool writePng(const std::string& path, const Canvas& c) {
    std::vector<uint8_t> data(size_t(c.w) * c.h * 4);
    std::vector<Rgba> px = c.px;
    // Transparent pixels take the colour of their visible neighbours, so that
    // filtered scaling does not pull dark fringes into the edges.
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<Rgba> next = px;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                if (px[size_t(y) * c.w + x].a > 0.002f) continue;
                float r = 0, g = 0, b = 0, n = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i) {
                        if (!c.inside(x + i, y + j)) continue;
                        const Rgba& q = px[size_t(y + j) * c.w + x + i];
                        if (q.a <= 0.002f && !(q.r > 0 || q.g > 0 || q.b > 0)) continue;
                        r += q.r;
                        g += q.g;
                        b += q.b;
                        n += 1;
                    }
                if (n > 0) next[size_t(y) * c.w + x] = {r / n, g / n, b / n, 0};
            }
        px.swap(next);
    }
    for (size_t i = 0; i < px.size(); ++i) {
        const Rgba& p = px[i];
        data[i * 4 + 0] = uint8_t(std::lround(clamp01(p.r) * 255));
        data[i * 4 + 1] = uint8_t(std::lround(clamp01(p.g) * 255));
        data[i * 4 + 2] = uint8_t(std::lround(clamp01(p.b) * 255));
        data[i * 4 + 3] = uint8_t(std::lround(clamp01(p.a) * 255));
    }
    makeDirs(path);
    return stbi_write_png(path.c_str(), c.w, c.h, 4, data.data(), c.w * 4) != 0;
}

void makeDirs(const std::string& path) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
}

}  // namespace art
