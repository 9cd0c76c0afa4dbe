// Menu and control pictures: "common/icons", "common/Buttons" and
// "common/dpad", drawn with shapes at every resolution.
#include <cmath>

#include "sheet.h"
#include "vector.h"

namespace art {

namespace {


// Icons are white with a dark outline so that the game can tint them.
void icon(const Pen& p, const Sdf& shape, float outline = 2.2f) {
    p.fill(grow(shape, outline), pal::ink);
    p.fill(shape, vgrad(4, pal::white, 28, pal::greyLight));
}







// The hero's face for the lives counter.
void heroHead(const Pen& p, V2 c) {
    Sdf ears = unite(rotated(ellipse(c + V2{-5, -7}, {2.6f, 6.2f}), c + V2{-5, -7}, -18),
                     rotated(ellipse(c + V2{4, -8}, {2.6f, 6.2f}), c + V2{4, -8}, 12));
    Sdf head = unite(ellipse(c + V2{-1, 2}, {9, 8}), ellipse(c + V2{5, 5}, {6.5f, 4.6f}));
    p.fill(grow(unite(ears, head), 2), pal::ink);
    p.fill(ears, pal::orangeDark);
    p.fill(rotated(ellipse(c + V2{4, -7.5f}, {1.2f, 4.2f}), c + V2{4, -7.5f}, 12), pal::pink);
    p.fill(head, vgrad(c.y - 6, pal::orangeLight, c.y + 10, pal::orange));
    p.fill(ellipse(c + V2{6, 6}, {5, 3.4f}), hex(0xf9d59c));
    p.fill(circle(c + V2{10.4f, 4.4f}, 1.7f), pal::ink);
    p.fill(ellipse(c + V2{1.6f, 0}, {1.7f, 2.4f}), pal::ink);
    p.fill(circle(c + V2{2.1f, -0.8f}, 0.7f), pal::white);
    p.fill(ellipse(c + V2{-5, 4.5f}, {2, 1.2f}), withAlpha(pal::pink, 0.7f));
}

void drawIcon(const Pen& p, int f) {
    V2 c{16, 16};
    switch (f) {
        case 0: icon(p, unite(box({11, 16}, {3.2f, 10}, 1.6f), box({21, 16}, {3.2f, 10}, 1.6f))); break;
        case 1: icon(p, strokes({{{8, 8}, {24, 24}}, {{24, 8}, {8, 24}}}, 3.2f)); break;
        case 2: icon(p, subtract(gear(c, 12.5f, 8, 3.5f), circle(c, 4.2f))); break;
        case 3: icon(p, grow(polygon({{10, 6}, {26, 16}, {10, 26}}), 1.2f)); break;
        case 4: icon(p, house({16, 17}, 1.05f)); break;
        case 5: {
            Segments s = arcPoints(c, 9, 40, 330, 16);
            Sdf head = polygon({c + polar(330, 9) + V2{-5, -4}, c + polar(330, 9) + V2{5.5f, -1}, c + polar(330, 9) + V2{-1, 6}});
            icon(p, unite(strokes(s, 2.4f), head));
            break;
        }
        case 6: {
            p.fill(grow(arrowRight(c, 12), 2.2f), pal::ink);
            p.fill(arrowRight(c, 12), vgrad(5, pal::goldLight, 27, pal::gold));
            break;
        }
        case 7: {
            Sdf cross = strokes({{{16, 3}, {16, 10}}, {{16, 22}, {16, 29}}, {{3, 16}, {10, 16}}, {{22, 16}, {29, 16}}}, 1.6f);
            icon(p, unite(unite(ring(c, 9, 1.6f), cross), circle(c, 2.6f)));
            break;
        }
        case 8: icon(p, musicNote(c, 1.0f)); break;
        case 9: {
            Sdf waves = strokes(arcPoints(c + V2{3, 0}, 6, 45, 135, 6), 1.5f);
            Sdf waves2 = strokes(arcPoints(c + V2{3, 0}, 10.5f, 50, 130, 8), 1.5f);
            icon(p, unite(speaker(c + V2{-2, 0}, 1.0f), unite(waves, waves2)));
            break;
        }
        case 10: {
            p.fill(grow(trophy(c, 1.15f), 2.2f), pal::ink);
            p.fill(trophy(c, 1.15f), vgrad(4, pal::goldLight, 28, pal::goldDark));
            break;
        }
        case 11: heroHead(p, {15, 17}); break;
        case 12: {
            Sdf s = star(c + V2{0, 1}, 5, 13, 6);
            p.fill(grow(s, 2.2f), pal::ink);
            p.fill(s, vgrad(3, pal::goldLight, 29, pal::gold));
            break;
        }
        case 13: {
            Sdf h = heart(c + V2{0, 1}, 11.5f);
            p.fill(grow(h, 2.2f), pal::ink);
            p.fill(h, vgrad(5, pal::pinkLight, 28, pal::pink));
            p.fill(ellipse(c + V2{-5, -3}, {2.2f, 1.4f}), withAlpha(pal::white, 0.8f));
            break;
        }
        case 14: icon(p, lock(c, 1.1f)); break;
        case 15: icon(p, questionMark(c, 1.45f)); break;
        default: break;
    }
}

// --- Buttons ------------------------------------------------------------

struct Tone {
    Rgba light, mid, dark;
};
const Tone kSpeedTones[3] = {{pal::greenLight, pal::green, pal::greenDark},
                             {pal::goldLight, pal::orange, pal::orangeDark},
                             {pal::pinkLight, pal::red, pal::redDark}};

void speedItem(const Pen& p, int speed) {
    V2 c{32, 32};
    const Tone& t = kSpeedTones[speed];
    p.fill(circle(c + V2{0, 2}, 29), withAlpha(pal::ink, 0.35f));
    p.fill(circle(c, 29), pal::ink);
    p.fill(circle(c, 27), vgrad(5, t.light, 59, t.dark));
    // a dark field in the middle keeps the name readable
    p.fill(circle(c, 20.5f), pal::ink);
    p.fill(circle(c, 19.5f), radial(c, 22, shade(t.dark, 0.55f), shade(t.dark, 0.8f)));
    // chevrons above the name: one, two or three
    int n = speed + 1;
    float w = 6.5f;
    for (int i = 0; i < n; ++i) {
        V2 at{32 - (n - 1) * w / 2 + i * w, 7.5f};
        p.fill(grow(chevron(at, 3.2f, 1.1f), 1.1f), pal::ink);
        p.fill(chevron(at, 3.2f, 1.1f), pal::white);
    }
    // rim studs
    for (int i = 0; i < 12; ++i) {
        if (i == 0 || i == 11 || i == 1) continue;
        p.fill(circle(c + polar(i * 30.0f, 23.8f), 1.3f), withAlpha(pal::white, 0.75f));
    }
    p.fill(intersect(ring(c, 25.5f, 1.1f), box({32, 14}, {30, 12})), withAlpha(pal::white, 0.35f));
}

void dialGear(const Pen& p) {
    V2 c{32, 32};
    Sdf g = gear(c, 30, 14, 4.5f);
    p.fill(grow(g, 1.6f), pal::ink);
    p.fill(g, vgrad(2, pal::orangeLight, 62, pal::orangeDark));
    p.fill(ring(c, 22, 0.9f), withAlpha(pal::ink, 0.5f));
    for (int i = 0; i < 6; ++i) p.fill(circle(c + polar(i * 60.0f + 30, 22), 2.6f), pal::ink);
}

void dialRing(const Pen& p) {
    V2 c{32, 32};
    p.fill(ring(c, 18.5f, 3.6f), pal::ink);
    p.fill(ring(c, 18.5f, 2.6f), vgrad(14, pal::tealLight, 50, pal::tealDark));
    for (int i = 0; i < 8; ++i) {
        V2 a = c + polar(i * 45.0f, 15.5f), b = c + polar(i * 45.0f, 21.5f);
        p.fill(capsule(a, b, 0.9f), pal::ink);
    }
    p.fill(circle(c + polar(0, 18.5f), 2.2f), pal::white);
}

void dialCap(const Pen& p) {
    V2 c{32, 32};
    p.fill(circle(c, 12.5f), pal::ink);
    p.fill(circle(c, 11), vgrad(21, pal::cream, 43, pal::greyLight));
    Sdf spokes;
    for (int i = 0; i < 3; ++i) {
        Sdf s = capsule(c + polar(i * 120.0f, 2), c + polar(i * 120.0f + 25, 8), 1.6f);
        spokes = i ? unite(spokes, s) : s;
    }
    p.fill(spokes, pal::orangeDark);
    p.fill(circle(c, 2.6f), pal::ink);
}

void emblem(const Pen& p) {
    V2 c{32, 29};
    // ribbon tails
    Sdf tails = unite(polygon({c + V2{-12, 10}, c + V2{-4, 14}, c + V2{-9, 30}, c + V2{-12, 25}, c + V2{-17, 28}}),
                      polygon({c + V2{12, 10}, c + V2{4, 14}, c + V2{9, 30}, c + V2{12, 25}, c + V2{17, 28}}));
    p.fill(grow(tails, 1.6f), pal::ink);
    p.fill(tails, vgrad(38, pal::teal, 60, pal::tealDark));
    Sdf medal = gear(c, 22, 20, 2.2f);
    p.fill(grow(medal, 1.6f), pal::ink);
    p.fill(medal, vgrad(8, pal::goldLight, 52, pal::goldDark));
    p.fill(circle(c, 15.5f), pal::ink);
    p.fill(circle(c, 14.5f), vgrad(14, pal::orange, 44, pal::orangeDark));
    Sdf h = heart(c + V2{0, 1}, 9);
    p.fill(grow(h, 1.2f), pal::ink);
    p.fill(h, vgrad(20, pal::pinkLight, 40, pal::pink));
    p.fill(ellipse(c + V2{-3.5f, -2.5f}, {1.8f, 1.1f}), withAlpha(pal::white, 0.8f));
}

void symbolButton(const Pen& p, const Tone& t, const Sdf& symbol) {
    V2 c{32, 32};
    gemDisc(p, c, 26, t.light, t.mid, t.dark, 2);
    p.fill(grow(symbol, 2), pal::ink);
    p.fill(symbol, vgrad(12, pal::white, 52, pal::greyLight));
}

void drawButton(const Pen& p, int f) {
    V2 c{32, 32};
    switch (f) {
        case 0: case 1: case 2: case 3: case 4: case 5: speedItem(p, f % 3); break;
        case 6: gemDisc(p, c, 26, pal::tealLight, pal::teal, pal::tealDark, 2); break;
        case 7: symbolButton(p, {pal::blueLight, pal::blue, pal::blueDark}, questionMark(c, 2.3f)); break;
        case 8: dialGear(p); break;
        case 9: dialRing(p); break;
        case 10: dialCap(p); break;
        case 11: {
            Sdf a = rotated(arrowRight(c, 15), c, 180);
            symbolButton(p, {pal::orangeLight, pal::orange, pal::orangeDark}, a);
            break;
        }
        case 12: emblem(p); break;
        case 13: symbolButton(p, {pal::goldLight, pal::gold, pal::goldDark}, trophy(c, 1.6f)); break;
        case 14: symbolButton(p, {pal::purpleLight, pal::purple, pal::purpleDark}, musicNote(c, 1.4f)); break;
        case 15: symbolButton(p, {pal::greenLight, pal::green, pal::greenDark}, speaker(c + V2{2, 0}, 1.5f)); break;
        default: break;
    }
}

// --- direction pad -----------------------------------------------------------

const Rgba kPadFace = hex(0x2a3468, 0.85f), kPadEdge = hex(0xd8dcec);

void padKey(const Pen& p, float arrowDegrees, bool arrow) {
    V2 c{16, 16};
    p.fill(box(c, {14, 14}, 5), pal::ink);
    p.fill(box(c, {12.6f, 12.6f}, 4), kPadEdge);
    p.fill(box(c, {11.2f, 11.2f}, 3), vgrad(4, hex(0x3c4a88, 0.9f), 28, kPadFace));
    if (arrow) {
        Sdf tri = polygon({c + polar(arrowDegrees, 6.5f), c + polar(arrowDegrees + 135, 7), c + polar(arrowDegrees - 135, 7)});
        p.fill(grow(tri, 1.5f), pal::ink);
        p.fill(tri, pal::white);
    }
}

void padButton(const Pen& p, const Tone& t) { gemDisc(p, {16, 16}, 12.5f, t.light, t.mid, t.dark, 1.6f); }

void drawPad(const Pen& p, int f) {
    V2 c{16, 16};
    switch (f) {
        case 1: padKey(p, 0, true); break;
        case 4: padKey(p, -90, true); break;
        case 6: padKey(p, 90, true); break;
        case 9: padKey(p, 180, true); break;
        case 2: case 8: case 10: padKey(p, f == 2 ? 45 : (f == 8 ? -135 : 135), true); break;
        case 0: {
            // the action button: a ring the thumb can find, around a gem
            p.fill(circle(c, 15), withAlpha(pal::ink, 0.6f));
            p.fill(ring(c, 13.4f, 1.1f), kPadEdge);
            gemDisc(p, c, 10, pal::tealLight, pal::teal, pal::tealDark, 1.4f);
            break;
        }
        case 5: {
            padKey(p, 0, false);
            p.fill(circle(c, 6), pal::ink);
            p.fill(circle(c, 5), vgrad(11, hex(0x1c2248), 21, hex(0x3c4a88)));
            break;
        }
        case 3: padButton(p, {pal::tealLight, pal::teal, pal::tealDark}); break;
        case 7: padButton(p, {pal::pinkLight, pal::pink, pal::pinkDark}); break;
        case 11: padButton(p, {pal::goldLight, pal::gold, pal::goldDark}); break;
        case 12: padButton(p, {pal::blueLight, pal::blue, pal::blueDark}); break;
        case 13: padButton(p, {pal::greenLight, pal::green, pal::greenDark}); break;
        case 14: {
            p.fill(ring(c, 12, 2.2f), pal::ink);
            p.fill(ring(c, 12, 1.2f), pal::white);
            break;
        }
        case 15: {
            p.fill(circle(c, 13), withAlpha(pal::ink, 0.5f));
            p.fill(circle(c, 7), pal::ink);
            p.fill(circle(c, 5.6f), vgrad(11, pal::white, 21, pal::grey));
            break;
        }
        default: break;
    }
}

}  // namespace

Sheet iconsSheet() {
    Sheet s{"common/icons", 32, 32, 16, 4, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(32, 32, factor, [f](const Pen& p) { drawIcon(p, f); }); };
    return s;
}

Sheet buttonsSheet() {
    Sheet s{"common/Buttons", 64, 64, 16, 4, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(64, 64, factor, [f](const Pen& p) { drawButton(p, f); }); };
    return s;
}

Sheet dpadSheet() {
    Sheet s{"common/dpad", 32, 32, 16, 4, nullptr};
    s.render = [](int f, int factor) { return vectorFrame(32, 32, factor, [f](const Pen& p) { drawPad(p, f); }); };
    return s;
}

}  // namespace art
