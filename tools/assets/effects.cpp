// Effect pictures: particle shapes ("parts"), soft lights ("common/light"),
// the menu hub's shadow and ring ("common/circle") and the "menu" roundels.
#include <cmath>

#include "sheet.h"
#include "vector.h"

namespace art {

namespace {

// --- particles: white so the game can tint them ------------------------------

void drawParticle(const Pen& p, int f) {
    V2 c{4, 4};
    Rng r(uint32_t(f) * 7919u + 13u);
    Rgba w = pal::white;
    int kind = f / 32;
    switch (kind) {
        case 0: {  // soft sparks
            float rad = 1.1f + 2.4f * (f % 32) / 31.0f;
            p.glow(circle(c, rad * 0.45f), withAlpha(w, 0.9f), rad * 0.75f);
            p.fill(circle(c, rad * 0.5f), w);
            break;
        }
        case 1: {  // four-point glints
            float outer = 2.8f + 1.1f * r.unit(), inner = 0.8f + 0.5f * r.unit();
            float turn = (f % 2) ? 45.0f : 0.0f;
            p.glow(circle(c, 0.6f), withAlpha(w, 0.6f), 2.2f);
            p.fill(star(c, 4, outer, inner, turn), w);
            break;
        }
        case 2: {  // five-point stars
            float outer = 2.3f + 1.5f * r.unit();
            p.fill(star(c, 5, outer, outer * (0.4f + 0.15f * r.unit()), r.range(0, 72)), w);
            break;
        }
        case 3: {  // rings
            float rad = 1.5f + 1.8f * r.unit(), hw = 0.35f + 0.5f * r.unit();
            p.fill(ring(c, std::min(rad, 3.7f - hw), hw), w);
            break;
        }
        case 4: {  // shards
            float a = r.range(0, 360);
            V2 tip = c + polar(a, 3.7f);
            V2 tail = c + polar(a + 180 + r.range(-25, 25), r.range(2.4f, 3.6f));
            V2 side = c + polar(a + 90 + r.range(-30, 30), r.range(1.4f, 2.4f));
            p.fill(polygon({tip, side, tail}), w);
            break;
        }
        case 5: {  // diamonds and squares
            float a = r.range(0, 90), long_ = r.range(2.0f, 3.7f), short_ = r.range(1.0f, 2.6f);
            if (f % 4 == 3)
                p.fill(rotated(box(c, {short_, short_}, 0.3f), c, a), w);
            else
                p.fill(polygon({c + polar(a, long_), c + polar(a + 90, short_), c + polar(a + 180, long_), c + polar(a + 270, short_)}), w);
            break;
        }
        case 6: {  // streaks with a bright head
            float a = r.range(0, 360), l = r.range(1.5f, 3.6f);
            V2 head = c + polar(a, l), tail = c + polar(a + 180, l);
            p.fill(capsule(head, tail, 0.45f), withAlpha(w, 0.55f));
            p.fill(capsule(head, head + (tail - head) * 0.4f, r.range(0.55f, 0.95f)), w);
            break;
        }
        default: {  // odds and ends
            switch (f % 6) {
                case 0: p.fill(heart(c, 3.5f), w); break;
                case 1: p.fill(strokes({{c + V2{-3, 0}, c + V2{3, 0}}, {c + V2{0, -3}, c + V2{0, 3}}}, r.range(0.5f, 0.9f)), w); break;
                case 2: {
                    for (int i = 0; i < 3; ++i) p.fill(circle(c + V2{r.range(-2.4f, 2.4f), r.range(-2.4f, 2.4f)}, r.range(0.6f, 1.2f)), w);
                    break;
                }
                case 3: p.fill(strokes({{c + V2{-2.6f, -2.6f}, c + V2{2.6f, 2.6f}}, {c + V2{2.6f, -2.6f}, c + V2{-2.6f, 2.6f}}}, 0.6f), w); break;
                case 4: p.fill(star(c, 6, 3.6f, 1.6f, r.range(0, 60)), w); break;
                default: p.fill(bolt(c, 3.8f), w); break;
            }
            break;
        }
    }
}

// --- soft lights ----------------------------------------------------------------

void drawLight(const Pen& p, int f) {
    V2 c{16, 16};
    switch (f) {
        case 0:
            p.glow(circle(c, 1), withAlpha(pal::white, 1), 15);
            break;
        case 1:
            p.glow(circle(c, 1), withAlpha(pal::white, 0.7f), 9);
            p.fill(star(c, 4, 15, 1.4f), withAlpha(pal::white, 0.9f));
            p.fill(star(c, 4, 7, 1.0f, 45), withAlpha(pal::white, 0.7f));
            break;
        case 2:
            p.glow(ring(c, 10, 0.5f), withAlpha(pal::white, 0.9f), 5);
            break;
        default: {
            std::vector<V2> hexagon;
            for (int i = 0; i < 6; ++i) hexagon.push_back(c + polar(i * 60.0f + 30, 12));
            p.fill(grow(polygon(hexagon), 1), withAlpha(pal::white, 0.35f));
            p.fill(ring(c, 11.5f, 0.8f), withAlpha(pal::white, 0.35f));
            p.glow(circle(c, 2), withAlpha(pal::white, 0.5f), 8);
            break;
        }
    }
}

// --- the menu hub -------------------------------------------------------------

void hubRing(const Pen& p) {
    V2 c{128, 128};
    // rim of twelve segments; the gaps show the wheel turning
    for (int i = 0; i < 12; ++i) {
        Segments arc;
        V2 prev = c + polar(i * 30.0f + 3, 62);
        for (int k = 1; k <= 8; ++k) {
            V2 q = c + polar(i * 30.0f + 3 + 24.0f * k / 8, 62);
            arc.push_back({prev, q});
            prev = q;
        }
        p.fill(strokes(arc, 5.5f), pal::ink);
        p.fill(strokes(arc, 4.0f), i % 3 == 0 ? pal::teal : pal::cream);
    }
    p.fill(ring(c, 52, 1.6f), pal::ink);
    p.fill(ring(c, 52, 0.8f), pal::cream);
    for (int i = 0; i < 72; ++i) {
        float len_ = i % 6 == 0 ? 7.0f : 3.5f;
        V2 a = c + polar(i * 5.0f, 71), b = c + polar(i * 5.0f, 71 + len_);
        p.fill(capsule(a, b, i % 6 == 0 ? 1.3f : 0.8f), i % 6 == 0 ? pal::cream : withAlpha(pal::cream, 0.7f));
    }
    for (int i = 0; i < 3; ++i) {
        float a = i * 120.0f + 15;
        Sdf tri = polygon({c + polar(a, 92), c + polar(a - 5, 82), c + polar(a + 5, 82)});
        p.fill(grow(tri, 1.2f), pal::ink);
        p.fill(tri, pal::gold);
    }
}

void drawCircle(const Pen& p, int f) {
    V2 c{128, 128};
    switch (f) {
        case 0:
            p.glow(circle(c, 8), withAlpha(pal::white, 0.9f), 118);
            break;
        case 1: {
            // the hub's shadow: dark in the middle, soft at the edge
            Sdf disc = circle(c, 70);
            p.glow(disc, withAlpha(pal::night, 0.8f), 56);
            p.fill(disc, radial(c, 70, withAlpha(pal::night, 0.92f), withAlpha(pal::night, 0.8f)));
            break;
        }
        case 2:
            p.fill(ring(c, 110, 6), pal::ink);
            p.fill(ring(c, 110, 4.5f), vgrad(10, pal::tealLight, 246, pal::tealDark));
            p.fill(ring(c, 96, 1.5f), withAlpha(pal::cream, 0.8f));
            break;
        default:
            hubRing(p);
            break;
    }
}

// --- menu roundels ---------------------------------------------------------------

void sunset(const Pen& p) {
    V2 c{128, 128};
    float R = 118;
    Sdf disc = circle(c, R);
    p.fill(grow(disc, 4), pal::ink);
    p.fill(disc, vgrad(20, hex(0x4a2a8a), 190, hex(0xff9a50)));
    p.fill(intersect(disc, circle({128, 176}, 52)), vgrad(124, pal::goldLight, 228, pal::orange));
    // hills in two layers
    Sdf far = polygon({{0, 200}, {40, 168}, {90, 184}, {140, 160}, {200, 180}, {256, 158}, {256, 256}, {0, 256}});
    p.fill(intersect(disc, far), hex(0xb2462c));
    Sdf near = polygon({{0, 214}, {60, 196}, {130, 206}, {190, 190}, {256, 204}, {256, 256}, {0, 256}});
    p.fill(intersect(disc, near), hex(0x6a2a2a));
    p.fill(kangaroo({108, 150}, 26), pal::ink);
    // hop trail
    for (int i = 0; i < 5; ++i) p.fill(circle(V2{40.0f + i * 12, 178 - std::sin(i * 0.8f) * 30}, 2.2f), withAlpha(pal::cream, 0.7f));
    p.fill(ring(c, R - 6, 1.2f), withAlpha(pal::white, 0.25f));
}

void sunburst(const Pen& p) {
    V2 c{128, 128};
    for (int i = 0; i < 16; ++i) {
        float a = i * 22.5f;
        Sdf wedge = polygon({c, c + polar(a - 6, 126), c + polar(a + 6, 126)});
        p.fill(wedge, radial(c, 126, withAlpha(pal::white, 0.55f), withAlpha(pal::white, 0.0f)));
    }
    p.glow(circle(c, 10), withAlpha(pal::white, 0.8f), 50);
}

void panel(const Pen& p) {
    Sdf body = box({128, 128}, {118, 118}, 22);
    p.fill(grow(body, 3), pal::ink);
    p.fill(body, vgrad(10, hex(0x2a3468, 0.92f), 246, hex(0x141a3c, 0.92f)));
    p.fill(subtract(box({128, 128}, {110, 110}, 16), box({128, 128}, {107, 107}, 13)), pal::teal);
    for (int i = 0; i < 4; ++i) {
        V2 corner{i % 2 ? 222.0f : 34.0f, i / 2 ? 222.0f : 34.0f};
        p.fill(star(corner, 4, 8, 2), pal::gold);
    }
}

void nightSky(const Pen& p) {
    V2 c{128, 128};
    Sdf disc = circle(c, 118);
    p.fill(grow(disc, 4), pal::ink);
    p.fill(disc, vgrad(10, hex(0x0c1030), 246, hex(0x2a3468)));
    Rng r(99);
    for (int i = 0; i < 60; ++i) {
        V2 at{r.range(20, 236), r.range(20, 236)};
        if (len(at - c) > 110) continue;
        float s = r.range(0.6f, 1.8f);
        p.fill(i % 7 ? circle(at, s) : star(at, 4, s * 3, s * 0.6f), withAlpha(pal::white, r.range(0.5f, 1)));
    }
    Sdf moon = subtract(circle({160, 90}, 34), circle({176, 78}, 30));
    p.glow(moon, withAlpha(pal::goldLight, 0.4f), 18);
    p.fill(moon, vgrad(56, pal::goldLight, 124, pal::gold));
    Sdf hill = intersect(disc, ellipse({128, 270}, {170, 80}));
    p.fill(hill, hex(0x141a3c));
    p.fill(kangaroo({92, 178}, 22), pal::ink);
}

void drawMenu(const Pen& p, int f) {
    switch (f) {
        case 0: sunset(p); break;
        case 1: sunburst(p); break;
        case 2: panel(p); break;
        default: nightSky(p); break;
    }
}

}  // namespace

Sheet partsSheet() {
    Sheet s{"parts", 8, 8, 256, 16, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(8, 8, factor, [f](const Pen& p) { drawParticle(p, f); }); };
    return s;
}

Sheet lightSheet() {
    Sheet s{"common/light", 32, 32, 4, 2, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(32, 32, factor, [f](const Pen& p) { drawLight(p, f); }); };
    return s;
}

Sheet circleSheet() {
    Sheet s{"common/circle", 256, 256, 4, 2, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(256, 256, factor, [f](const Pen& p) { drawCircle(p, f); }); };
    return s;
}

Sheet menuSheet() {
    Sheet s{"menu", 256, 256, 4, 2, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(256, 256, factor, [f](const Pen& p) { drawMenu(p, f); }); };
    return s;
}

}  // namespace art
