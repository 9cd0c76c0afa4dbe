// "BadgesA": 64 badge icons, four tiers (bronze disc, silver shield, gold
// rosette, teal gem) of sixteen symbols.
#include <cmath>

#include "sheet.h"
#include "vector.h"

namespace art {

namespace {

struct Tier {
    Rgba light, mid, dark;
};
const Tier kTiers[4] = {{hex(0xffc89a), hex(0xc8783c), hex(0x7a3e20)},
                        {hex(0xffffff), hex(0xb8c0d8), hex(0x5c6478)},
                        {pal::goldLight, pal::gold, pal::goldDark},
                        {pal::tealLight, pal::teal, pal::tealDark}};

// Field colours behind the symbol, one per symbol so rows read apart.
const Rgba kFields[16] = {hex(0x2a3468), hex(0x8e2448), hex(0x4a2470), hex(0x7a3426), hex(0x5a2a80), hex(0x1c5a4a),
                          hex(0x1c4a9a), hex(0x2f6a2a), hex(0x1c6a80), hex(0x6a4a10), hex(0x2f7a3a), hex(0x141a3c),
                          hex(0xa04a18), hex(0x5a2458), hex(0x1c6a4a), hex(0x8a3a2e)};

Sdf outerShape(int tier, V2 c) {
    switch (tier) {
        case 0: return circle(c, 27);
        case 1: {
            Sdf top = box(c + V2{0, -8}, {24, 19}, 6);
            Sdf point = polygon({c + V2{-24, -2}, c + V2{24, -2}, c + V2{0, 29}});
            return unite(top, grow(point, 0));
        }
        case 2: return gear(c, 29, 16, 3.2f);
        default: {
            std::vector<V2> hexagon;
            for (int i = 0; i < 6; ++i) hexagon.push_back(c + polar(i * 60.0f, 29));
            return grow(polygon(hexagon), -1.5f);
        }
    }
}

Sdf symbolShape(int s, V2 c) {
    switch (s) {
        case 0: return star(c, 5, 13, 5.6f);
        case 1: return heart(c + V2{0, 1}, 12);
        case 2: return bolt(c, 13);
        case 3: return paw(c, 12);
        case 4: return crown(c + V2{0, 1}, 12);
        case 5: return unite(capsule(c + V2{-8, -11}, c + V2{-8, 12}, 1.8f),
                             polygon({c + V2{-7, -11}, c + V2{11, -6}, c + V2{-7, 2}}));
        case 6: return subtract(circle(c, 12.5f), unite(ring(c, 10, 0.01f), grow(strokes({{c, c + V2{0, -8}}, {c, c + V2{6, 3}}}, 1.8f), 0)));
        case 7: return rotated(arrowRight(c, 13), c, -90);
        case 8: return polygon({c + V2{-12, -4}, c + V2{-6, -10}, c + V2{6, -10}, c + V2{12, -4}, c + V2{0, 12}});
        case 9: return trophy(c, 1.15f);
        case 10: return subtract(rotated(ellipse(c, {7.5f, 13}), c, 40), capsule(c + V2{-6, 6}, c + V2{5, -5}, 0.8f));
        case 11: return subtract(circle(c, 12), circle(c + V2{6, -4}, 10.5f));
        case 12: {
            Sdf rays;
            for (int i = 0; i < 8; ++i) {
                Sdf r = capsule(c + polar(i * 45.0f, 9.5f), c + polar(i * 45.0f, 13.5f), 1.6f);
                rays = i ? unite(rays, r) : r;
            }
            return unite(circle(c, 7), rays);
        }
        case 13: return musicNote(c, 0.95f);
        case 14: return strokes({{c + V2{-10, 0}, c + V2{-3, 8}}, {c + V2{-3, 8}, c + V2{11, -9}}}, 3);
        default: return kangaroo(c, 12.5f);
    }
}

}  // namespace

void drawBadge(const Pen& p, int f) {
    int tier = f / 16, sym = f % 16;
    V2 c{32, 32};
    const Tier& t = kTiers[tier];
    if (tier == 2) {
        Sdf tails = unite(polygon({c + V2{-13, 14}, c + V2{-3, 18}, c + V2{-9, 31}, c + V2{-12, 27}, c + V2{-17, 30}}),
                          polygon({c + V2{13, 14}, c + V2{3, 18}, c + V2{9, 31}, c + V2{12, 27}, c + V2{17, 30}}));
        p.fill(grow(tails, 1.5f), pal::ink);
        p.fill(tails, vgrad(44, pal::red, 63, pal::redDark));
    }
    Sdf outer = outerShape(tier, c);
    p.fill(translated(grow(outer, 2), {0, 2}), withAlpha(pal::ink, 0.4f));
    p.fill(grow(outer, 2), pal::ink);
    p.fill(outer, vgrad(3, t.light, 61, t.dark));
    Sdf field = grow(outer, -5);
    p.fill(grow(field, 1.2f), withAlpha(pal::ink, 0.7f));
    p.fill(field, vgrad(8, shade(kFields[sym], 1.25f), 58, shade(kFields[sym], 0.7f)));
    Sdf symbol = symbolShape(sym, c + V2{0, tier == 1 ? -2.0f : 0.0f});
    p.fill(grow(symbol, 2), pal::ink);
    p.fill(symbol, vgrad(16, pal::white, 48, mix(t.light, pal::white, 0.4f)));
}

Sheet badgesSheet() {
    Sheet s{"BadgesA", 64, 64, 64, 8, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(64, 64, factor, [f](const Pen& p) { drawBadge(p, f); }); };
    return s;
}

}  // namespace art
