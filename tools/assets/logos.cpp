// The studio logo "common/PelkLogo" and the title "logo".
#include <cmath>

#include "sheet.h"
#include "vector.h"

namespace art {

namespace {

// Chunky lettering: drop shadow, outline, a darker extrusion, a gradient
// face and a light upper half.
void chunkyText(const Pen& p, const Sdf& text, float outline, float depth, Rgba faceTop, Rgba faceBottom, Rgba extrusion,
                float top, float bottom) {
    p.fill(translated(grow(text, outline), {outline * 0.4f, depth + outline * 0.6f}), withAlpha(pal::ink, 0.45f));
    p.fill(grow(translated(text, {0, depth}), outline), pal::ink);
    p.fill(grow(text, outline), pal::ink);
    p.fill(translated(text, {0, depth}), extrusion);
    p.fill(text, vgrad(top, faceTop, bottom, faceBottom));
    Sdf upper = intersect(text, box({128, top}, {200, (bottom - top) * 0.28f}));
    p.fill(upper, withAlpha(pal::white, 0.28f));
}

// Draws at three quarters of the design size about the frame's centre; the
// drawing moves by an eighth of the frame, a whole number of pixels at every
// factor.
Pen threeQuarters(const Pen& p) {
    Pen q = p;
    q.s = p.s * 0.75f;
    q.ox += p.fw / 8;
    q.oy += p.fh / 8;
    q.fw -= p.fw / 8;
    q.fh -= p.fh / 8;
    return q;
}

void studioLogo(const Pen& p) {
    V2 c{128, 128};
    Sdf plate = box(c, {66, 30}, 16);
    p.fill(translated(grow(plate, 2.5f), {0, 3}), withAlpha(pal::ink, 0.5f));
    p.fill(grow(plate, 2.5f), pal::ink);
    p.fill(plate, vgrad(98, hex(0x2a3468), 158, hex(0x141a3c)));
    p.fill(subtract(box(c, {62.5f, 26.5f}, 13), box(c, {60.5f, 24.5f}, 11)), pal::teal);
    float unit = 5.2f, gap = 1.5f;
    float w = textWidth("PELK", unit, gap);
    Sdf text = strokes(textStrokes("PELK", {c.x - w / 2 - 5, c.y - 3 * unit - 5}, unit, gap), 3.2f);
    chunkyText(p, text, 2.2f, 2.5f, pal::cream, pal::goldLight, pal::orangeDark, c.y - 20, c.y + 12);
    // the studio's mark: a paw print stamped on the right
    V2 pw{c.x + 47, c.y - 2};
    p.fill(grow(paw(pw, 9), 2), pal::ink);
    p.fill(paw(pw, 9), vgrad(pw.y - 10, pal::orangeLight, pw.y + 9, pal::orange));
    // a small sparkle on the plate's corner
    V2 sp{c.x + 60, c.y - 27};
    p.fill(grow(star(sp, 4, 8, 1.8f), 1.5f), pal::ink);
    p.fill(star(sp, 4, 8, 1.8f), pal::white);
}

void titleLogo(const Pen& p) {
    const std::string title = "VANTAROO";
    float unit = 5.6f, gap = 1.25f, yScale = 1.25f;
    float w = textWidth(title, unit, gap);
    V2 origin{128 - w / 2, 46};
    Sdf text = strokes(textStrokes(title, origin, unit, gap, 0.45f, yScale), 3.6f);
    // dotted hop trail arcing over the title to the hero
    for (int i = 0; i < 9; ++i) {
        float t = i / 8.0f;
        V2 at{24 + 176 * t, 38 - 28 * std::sin(t * 3.14159265f * 0.92f)};
        p.fill(circle(at, 2.4f), pal::ink);
        p.fill(circle(at, 1.5f), withAlpha(pal::cream, 0.9f));
    }
    chunkyText(p, text, 3.2f, 4.5f, pal::goldLight, pal::orange, hex(0x8a3a2e), origin.y - 4, origin.y + 6 * unit * yScale + 4);
    // the hero landing on the last O
    V2 k{222, 20};
    Sdf roo = kangaroo(k, 14);
    p.fill(grow(roo, 2.2f), pal::ink);
    p.fill(roo, vgrad(k.y - 14, pal::orangeLight, k.y + 14, pal::orange));
    // a teal swoosh underneath
    Segments swoosh;
    V2 prev{30, 104};
    for (int i = 1; i <= 20; ++i) {
        float t = i / 20.0f;
        V2 q{30 + 196 * t, 104 + 5 * std::sin(t * 3.14159265f * 2)};
        swoosh.push_back({prev, q});
        prev = q;
    }
    p.fill(strokes(swoosh, 4.2f), pal::ink);
    p.fill(strokes(swoosh, 2.6f), vgrad(98, pal::tealLight, 110, pal::teal));
}

}  // namespace

// Drawn small: centred 32 pixels below the screen's top as the title of the
// 140-pixel side panel, it ends above the panel's first label at 60.
Sheet studioLogoSheet() {
    Sheet s{"common/PelkLogo", 256, 256, 1, 1, nullptr};
    s.render = [](int, int factor) {
        return vectorFrame(256, 256, factor, [](const Pen& p) { studioLogo(threeQuarters(p)); });
    };
    return s;
}

Sheet titleLogoSheet() {
    Sheet s{"logo", 256, 128, 1, 1, nullptr};
    s.render = [](int, int factor) { return vectorFrame(256, 128, factor, titleLogo); };
    return s;
}

}  // namespace art
