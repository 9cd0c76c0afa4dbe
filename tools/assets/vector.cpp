#include "vector.h"

#include <cmath>

namespace art {

Sdf strokes(Segments segs, float r) {
    Sdf s;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (auto& [a, b] : segs) {
        x0 = std::min({x0, a.x, b.x});
        y0 = std::min({y0, a.y, b.y});
        x1 = std::max({x1, a.x, b.x});
        y1 = std::max({y1, a.y, b.y});
    }
    s.x0 = x0 - r;
    s.y0 = y0 - r;
    s.x1 = x1 + r;
    s.y1 = y1 + r;
    s.f = [segs = std::move(segs), r](V2 p) {
        float best = 1e9f;
        for (auto& [a, b] : segs) {
            V2 pa = p - a, ba = b - a;
            float dd = dot(ba, ba);
            float h = dd > 0 ? std::clamp(dot(pa, ba) / dd, 0.0f, 1.0f) : 0;
            V2 q = pa - ba * h;
            best = std::min(best, dot(q, q));
        }
        return std::sqrt(best) - r;
    };
    return s;
}

namespace {
Segments poly(std::initializer_list<V2> pts) {
    Segments s;
    const V2* prev = nullptr;
    for (const V2& p : pts) {
        if (prev) s.push_back({*prev, p});
        prev = &p;
    }
    return s;
}
void add(Segments& a, const Segments& b) { a.insert(a.end(), b.begin(), b.end()); }

Segments roundO() {
    Segments s;
    V2 prev{};
    for (int i = 0; i <= 24; ++i) {
        float t = i * 2 * 3.14159265f / 24;
        float cx = std::cos(t), cy = std::sin(t);
        // a squarish superellipse keeps the O as wide as the other letters
        float px = 2 + 2 * std::copysign(std::pow(std::fabs(cx), 0.7f), cx);
        float py = 3 + 3 * std::copysign(std::pow(std::fabs(cy), 0.7f), cy);
        V2 p{px, py};
        if (i) s.push_back({prev, p});
        prev = p;
    }
    return s;
}
}  // namespace

Segments letterStrokes(char c) {
    Segments s;
    switch (c) {
        case 'A': s = poly({{0, 6}, {1.6f, 0.6f}, {2, 0}, {2.4f, 0.6f}, {4, 6}}); add(s, poly({{0.9f, 4}, {3.1f, 4}})); break;
        case 'D': s = poly({{0, 0}, {0, 6}, {2.4f, 6}, {4, 4.6f}, {4, 1.4f}, {2.4f, 0}, {0, 0}}); break;
        case 'E': s = poly({{4, 0}, {0, 0}, {0, 6}, {4, 6}}); add(s, poly({{0, 3}, {3, 3}})); break;
        case 'G': s = poly({{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.4f}, {2.4f, 3.4f}}); break;
        case 'I': s = poly({{0.5f, 0}, {0.5f, 6}}); break;
        case 'K': s = poly({{0, 0}, {0, 6}}); add(s, poly({{4, 0}, {0.4f, 3.6f}})); add(s, poly({{1.6f, 2.6f}, {4, 6}})); break;
        case 'L': s = poly({{0, 0}, {0, 6}, {4, 6}}); break;
        case 'M': s = poly({{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}); break;
        case 'N': s = poly({{0, 6}, {0, 0}, {4, 6}, {4, 0}}); break;
        case 'O': s = roundO(); break;
        case 'P': s = poly({{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}); break;
        case 'R': s = poly({{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}); add(s, poly({{2, 3}, {4, 6}})); break;
        case 'S': s = poly({{4, 0.8f}, {3.2f, 0}, {0.9f, 0}, {0, 0.9f}, {0, 2.1f}, {0.9f, 3}, {3.1f, 3}, {4, 3.9f}, {4, 5.1f}, {3.1f, 6}, {0.8f, 6}, {0, 5.2f}}); break;
        case 'T': s = poly({{0, 0}, {4, 0}}); add(s, poly({{2, 0}, {2, 6}})); break;
        case 'U': s = poly({{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}); break;
        case 'V': s = poly({{0, 0}, {2, 6}, {4, 0}}); break;
        case 'W': s = poly({{0, 0}, {1, 6}, {2, 2.5f}, {3, 6}, {4, 0}}); break;
        case 'Y': s = poly({{0, 0}, {2, 3}, {4, 0}}); add(s, poly({{2, 3}, {2, 6}})); break;
        case '0': s = roundO(); break;
        case '1': s = poly({{0.6f, 1.2f}, {2, 0}, {2, 6}}); add(s, poly({{0.6f, 6}, {3.4f, 6}})); break;
        case '2': s = poly({{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2.2f}, {0, 6}, {4, 6}}); break;
        case '3': s = poly({{0, 0.8f}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1.4f, 3}}); add(s, poly({{3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5.2f}})); break;
        case '5': s = poly({{4, 0}, {0.4f, 0}, {0, 2.8f}, {3, 2.8f}, {4, 3.8f}, {4, 5}, {3, 6}, {0, 6}}); break;
        case '+': s = poly({{2, 1.2f}, {2, 4.8f}}); add(s, poly({{0.2f, 3}, {3.8f, 3}})); break;
        default: break;
    }
    return s;
}

float letterWidth(char c) { return c == 'I' ? 1 : (c == ' ' ? 2.5f : 4); }

Segments textStrokes(const std::string& text, V2 origin, float unit, float gap, float bounce, float yScale) {
    Segments out;
    float x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        float dy = (i % 2) ? -bounce : 0;
        for (auto& [a, b] : letterStrokes(text[i]))
            out.push_back({origin + V2{(x + a.x) * unit, (a.y * yScale + dy) * unit}, origin + V2{(x + b.x) * unit, (b.y * yScale + dy) * unit}});
        x += letterWidth(text[i]) + gap;
    }
    return out;
}

float textWidth(const std::string& text, float unit, float gap) {
    float x = 0;
    for (char c : text) x += letterWidth(c) + gap;
    return (x - gap) * unit;
}

Sdf heart(V2 c, float r) {
    float k = r / 10;
    Sdf lobes = unite(circle(c + V2{-4.6f * k, -3 * k}, 5.2f * k), circle(c + V2{4.6f * k, -3 * k}, 5.2f * k));
    Sdf point = polygon({c + V2{-9.4f * k, -1.6f * k}, c + V2{9.4f * k, -1.6f * k}, c + V2{0, 9.5f * k}});
    return unite(lobes, point);
}

Sdf bolt(V2 c, float r) {
    float k = r / 10;
    return polygon({c + V2{2 * k, -10 * k}, c + V2{-6 * k, 1.5f * k}, c + V2{-0.5f * k, 1.5f * k}, c + V2{-2.5f * k, 10 * k},
                    c + V2{6 * k, -2 * k}, c + V2{0.5f * k, -2 * k}, c + V2{3.5f * k, -10 * k}});
}

Sdf paw(V2 c, float r) {
    float k = r / 10;
    Sdf pad = ellipse(c + V2{0, 3 * k}, {5.5f * k, 4.6f * k});
    Sdf toes = unite(unite(circle(c + V2{-6.4f * k, -2.4f * k}, 2.4f * k), circle(c + V2{-2.3f * k, -6.6f * k}, 2.5f * k)),
                     unite(circle(c + V2{2.3f * k, -6.6f * k}, 2.5f * k), circle(c + V2{6.4f * k, -2.4f * k}, 2.4f * k)));
    return unite(pad, toes);
}

Sdf crown(V2 c, float r) {
    float k = r / 10;
    Sdf body = polygon({c + V2{-9 * k, 6 * k}, c + V2{-9 * k, -5 * k}, c + V2{-4.5f * k, 0}, c + V2{0, -8 * k},
                        c + V2{4.5f * k, 0}, c + V2{9 * k, -5 * k}, c + V2{9 * k, 6 * k}});
    return unite(body, unite(circle(c + V2{0, -8.5f * k}, 1.8f * k),
                             unite(circle(c + V2{-9 * k, -5.5f * k}, 1.6f * k), circle(c + V2{9 * k, -5.5f * k}, 1.6f * k))));
}

Sdf gear(V2 c, float r, int teeth, float depth, float turn) {
    Sdf s;
    s.x0 = c.x - r;
    s.y0 = c.y - r;
    s.x1 = c.x + r;
    s.y1 = c.y + r;
    s.f = [=](V2 p) {
        V2 q = p - c;
        float a = std::atan2(q.x, -q.y) - turn * 3.14159265f / 180;
        float t = std::fmod(a * teeth / (2 * 3.14159265f) + 100.0f, 1.0f);
        // trapezoid teeth: flat tops and roots with sloped flanks
        float w = std::fabs(t - 0.5f) * 2;  // 0 at tooth centre
        float tooth = std::clamp((0.75f - w) / 0.25f, 0.0f, 1.0f);
        return len(q) - (r - depth + depth * tooth);
    };
    return s;
}

Sdf arrowRight(V2 c, float r) {
    float k = r / 10;
    return polygon({c + V2{-9 * k, -3.5f * k}, c + V2{1 * k, -3.5f * k}, c + V2{1 * k, -9 * k}, c + V2{10 * k, 0},
                    c + V2{1 * k, 9 * k}, c + V2{1 * k, 3.5f * k}, c + V2{-9 * k, 3.5f * k}});
}

Sdf chevron(V2 c, float r, float th) {
    return strokes({{c + V2{-r * 0.45f, -r}, c + V2{r * 0.55f, 0}}, {c + V2{r * 0.55f, 0}, c + V2{-r * 0.45f, r}}}, th);
}

Sdf triangleRight(V2 c, float r) {
    return grow(polygon({c + V2{-r * 0.55f, -r * 0.9f}, c + V2{r * 0.95f, 0}, c + V2{-r * 0.55f, r * 0.9f}}), 0);
}

Sdf kangaroo(V2 c, float r) {
    float k = r / 10;
    auto P = [&](float x, float y) { return c + V2{x * k, y * k}; };
    Sdf body = rotated(ellipse(P(-0.5f, 1.5f), {4.6f * k, 6 * k}), P(-0.5f, 1.5f), 35);
    Sdf head = ellipse(P(4.5f, -5.5f), {2.6f * k, 2.1f * k});
    Sdf snout = capsule(P(5, -5), P(8, -4.2f), 1.3f * k);
    Sdf ear1 = capsule(P(3.6f, -7), P(2.6f, -10.5f), 0.9f * k);
    Sdf ear2 = capsule(P(4.6f, -7), P(4.8f, -10.6f), 0.9f * k);
    Sdf neck = capsule(P(3.6f, -4.5f), P(1.5f, -2), 1.9f * k);
    Sdf tail = strokes({{P(-3.5f, 4), P(-7, 7)}, {P(-7, 7), P(-10, 9.6f)}}, 1.3f * k);
    Sdf leg = strokes({{P(0, 5), P(1.8f, 8.6f)}, {P(1.8f, 8.6f), P(6, 9.4f)}}, 1.4f * k);
    Sdf arm = capsule(P(2.8f, -1.5f), P(5, 0.5f), 0.8f * k);
    return unite(unite(unite(body, head), unite(snout, unite(ear1, ear2))), unite(unite(neck, tail), unite(leg, arm)));
}

Segments arcPoints(V2 c, float r, float a0, float a1, int n) {
    Segments s;
    V2 prev = c + polar(a0, r);
    for (int i = 1; i <= n; ++i) {
        V2 p = c + polar(a0 + (a1 - a0) * i / n, r);
        s.push_back({prev, p});
        prev = p;
    }
    return s;
}

Sdf questionMark(V2 c, float k) {
    Segments s = arcPoints(c + V2{0, -4 * k}, 4 * k, -70, 180, 10);
    s.push_back({c + V2{0, 0}, c + V2{0, 2.5f * k}});
    return unite(strokes(s, 1.6f * k), circle(c + V2{0, 7 * k}, 1.8f * k));
}

Sdf speaker(V2 c, float k) {
    return polygon({c + V2{-9 * k, -3.5f * k}, c + V2{-4 * k, -3.5f * k}, c + V2{2 * k, -9 * k}, c + V2{2 * k, 9 * k},
                    c + V2{-4 * k, 3.5f * k}, c + V2{-9 * k, 3.5f * k}});
}

Sdf musicNote(V2 c, float k) {
    Sdf heads = unite(rotated(ellipse(c + V2{-5 * k, 6 * k}, {3.4f * k, 2.5f * k}), c + V2{-5 * k, 6 * k}, -20),
                      rotated(ellipse(c + V2{6 * k, 4 * k}, {3.4f * k, 2.5f * k}), c + V2{6 * k, 4 * k}, -20));
    Sdf stems = strokes({{c + V2{-2 * k, 5.5f * k}, c + V2{-2 * k, -8 * k}}, {c + V2{9 * k, 3.5f * k}, c + V2{9 * k, -10 * k}}}, 1.1f * k);
    Sdf beam = polygon({c + V2{-3.1f * k, -8 * k}, c + V2{10.1f * k, -10.5f * k}, c + V2{10.1f * k, -6.5f * k}, c + V2{-3.1f * k, -4 * k}});
    return unite(heads, unite(stems, beam));
}

Sdf trophy(V2 c, float k) {
    Sdf cup = intersect(circle(c + V2{0, -6 * k}, 8 * k), box(c + V2{0, -2 * k}, {9 * k, 7 * k}));
    Sdf handles = unite(ring(c + V2{-8 * k, -5 * k}, 3.2f * k, 1.1f * k), ring(c + V2{8 * k, -5 * k}, 3.2f * k, 1.1f * k));
    Sdf stem = box(c + V2{0, 4.5f * k}, {1.8f * k, 3 * k});
    Sdf base = box(c + V2{0, 8.5f * k}, {6 * k, 1.8f * k}, 0.8f * k);
    return unite(unite(cup, handles), unite(stem, base));
}

Sdf lock(V2 c, float k) {
    Sdf body = box(c + V2{0, 3 * k}, {8 * k, 6.5f * k}, 1.5f * k);
    Sdf shackle = intersect(ring(c + V2{0, -3.5f * k}, 5 * k, 1.5f * k), box(c + V2{0, -4 * k}, {8 * k, 6 * k}));
    Sdf legs = strokes({{c + V2{-5 * k, -3.5f * k}, c + V2{-5 * k, 0}}, {c + V2{5 * k, -3.5f * k}, c + V2{5 * k, 0}}}, 1.5f * k);
    return subtract(unite(body, unite(shackle, legs)), capsule(c + V2{0, 2 * k}, c + V2{0, 5 * k}, 1.4f * k));
}

Sdf house(V2 c, float k) {
    Sdf roof = polygon({c + V2{-11 * k, 0}, c + V2{0, -10 * k}, c + V2{11 * k, 0}});
    Sdf walls = box(c + V2{0, 4 * k}, {7.5f * k, 6.5f * k});
    return subtract(unite(roof, walls), box(c + V2{0, 7 * k}, {2.4f * k, 3.6f * k}, 1 * k));
}

Sdf translated(Sdf a, V2 by) {
    Sdf s;
    s.x0 = a.x0 + by.x;
    s.y0 = a.y0 + by.y;
    s.x1 = a.x1 + by.x;
    s.y1 = a.y1 + by.y;
    s.f = [a, by](V2 p) { return a(p - by); };
    return s;
}

void gemDisc(const Pen& p, V2 c, float r, Rgba light, Rgba mid, Rgba dark, float outline) {
    p.fill(circle(c, r + outline), pal::ink);
    p.fill(circle(c, r), vgrad(c.y - r, light, c.y + r, dark));
    p.fill(circle(c, r * 0.8f), vgrad(c.y - r, mid, c.y + r, shade(dark, 0.8f)));
    p.fill(intersect(circle(c, r * 0.8f), ellipse(c + V2{0, -r * 0.45f}, {r * 0.62f, r * 0.32f})), withAlpha(pal::white, 0.22f));
}

}  // namespace art
