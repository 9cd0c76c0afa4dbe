// The game font "fonts/shadow_editundo" (white glyphs with a drop shadow and
// the control-prompt pictures) and the framework font "qira_font.png".
#include <cmath>

#include "pixelfont.h"
#include "sheet.h"

namespace art {

namespace {

const Rgba kShadow = hex(0x0c0818, 0.85f);
const Rgba kInk = hex(0x14101e);

// A glyph's body and its shadow are centred together on the frame centre.
void stampGlyph(Canvas& mask, const Glyph& g, int cx, int top) {
    int x0 = cx - (g.width + 1) / 2;
    for (int y = 0; y < kGlyphRows; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) mask.at(x0 + x, top + y) = hex(0xffffff);
}

Canvas shadowedGlyph(int code, int factor) {
    Canvas mask(16, 16);
    stampGlyph(mask, glyph(code), 8, 4);
    Canvas big = blockScale(mask, factor);
    Canvas out(big.w, big.h);
    for (int y = 0; y < big.h; ++y)
        for (int x = 0; x < big.w; ++x)
            if (big.at(x, y).a > 0) out.blend(x + factor, y + factor, kShadow);
    out.over(big, 0, 0);
    return out;
}

// --- control prompts, drawn as 16x16 pixel art -----------------------------

void disc(Canvas& c, float cx, float cy, float r, Rgba fill, Rgba rim, float shadeBelow) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d <= r)
                c.at(x, y) = dy > shadeBelow ? shade(fill, 0.72f) : fill;
            else if (d <= r + 1.0f)
                c.at(x, y) = rim;
        }
}

void roundRect(Canvas& c, int x0, int y0, int x1, int y1, Rgba fill, Rgba lip, int lipRows) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            bool edgeX = x == x0 || x == x1, edgeY = y == y0 || y == y1;
            if (edgeX && edgeY) continue;
            bool corner2 = (x == x0 + 1 || x == x1 - 1) && (y == y0 + 1 || y == y1 - 1);
            if (edgeX || edgeY || corner2)
                c.at(x, y) = kInk;
            else
                c.at(x, y) = y > y1 - 1 - lipRows ? lip : fill;
        }
}

void letter(Canvas& c, const Glyph& g, int cx, int top, Rgba col) {
    int x0 = cx - g.width / 2;
    for (int y = 0; y < int(g.rows.size()); ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) c.at(x0 + x, top + y) = col;
}

void miniLabel(Canvas& c, const char* text, int cx, int top, Rgba col) {
    int w = -1;
    for (const char* p = text; *p; ++p) w += miniGlyph(*p).width + 1;
    int x = cx - w / 2;
    for (const char* p = text; *p; ++p) {
        const Glyph& g = miniGlyph(*p);
        for (int y = 0; y < 5; ++y)
            for (int i = 0; i < g.width; ++i)
                if (g.at(i, y)) c.at(x + i, top + y) = col;
        x += g.width + 1;
    }
}

// Face buttons in the usual diamond: J bottom, K right, L left, I top.
void faceButton(Canvas& c, char code) {
    struct B {
        char code;
        char label;
        uint32_t colour;
    };
    static const B kButtons[] = {{'J', 'A', 0x3ccf5a}, {'K', 'B', 0xe8464a}, {'L', 'X', 0x3c8cf0}, {'I', 'Y', 0xf0c020}};
    for (const B& b : kButtons)
        if (b.code == code) {
            disc(c, 8.5f, 8.5f, 5.5f, hex(b.colour), kInk, 2.5f);
            letter(c, glyph(b.label), 8, 5, hex(0xffffff));
            c.at(6, 4) = shade(hex(b.colour), 1.5f);
        }
}

void pressedFace(Canvas& c) {
    disc(c, 8.5f, 9.5f, 5.5f, hex(0x7c8498), kInk, -6);
    disc(c, 8.5f, 9.5f, 2.0f, hex(0x5c6478), hex(0x6c7488), 9);
}

void shoulder(Canvas& c, const char* label, bool pressed) {
    int dy = pressed ? 1 : 0;
    roundRect(c, 2, 4 + dy, 13, 12, pressed ? hex(0x7c8498) : hex(0xd8dcec), hex(0x8c92aa), pressed ? 0 : 2);
    if (!pressed) miniLabel(c, label, 8, 6, kInk);
}

void trigger(Canvas& c, const char* label) {
    roundRect(c, 3, 2, 12, 13, hex(0xd8dcec), hex(0x8c92aa), 2);
    for (int x = 4; x <= 11; ++x) c.at(x, 3) = hex(0xf4f6ff);
    miniLabel(c, label, 8, 5, kInk);
}

// Direction pad: arms three pixels wide; `lit` 0 none, else 'W','S','A','D'.
void dpad(Canvas& c, char lit) {
    auto inPlus = [](int x, int y) { return (x >= 7 && x <= 9 && y >= 3 && y <= 13) || (y >= 7 && y <= 9 && x >= 3 && x <= 13); };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (inPlus(x, y)) {
                bool on = (lit == 'W' && y < 7) || (lit == 'S' && y > 9) || (lit == 'A' && x < 7) || (lit == 'D' && x > 9);
                Rgba base = on ? hex(0xffe060) : hex(0x9aa2ba);
                c.at(x, y) = (y == 13 || (x >= 3 && y == 9 && (x < 7 || x > 9))) ? shade(base, 0.75f) : base;
            } else {
                bool edge = false;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        if ((i == 0 || j == 0) && inPlus(x + i, y + j)) edge = true;
                if (edge) c.at(x, y) = kInk;
            }
        }
    c.at(8, 8) = hex(0x6c7488);
}

void keycap(Canvas& c, char key) {
    roundRect(c, 3, 1, 13, 14, hex(0xf0f0f8), hex(0x9aa0b8), 2);
    letter(c, glyph(key), 8, 3, hex(0x2a2a40));
}

const char kPromptCodes[] = "JKLIUOQEFWSAD";

Canvas promptFrame(int frame) {
    Canvas c(16, 16);
    if (frame >= 96 && frame <= 108) {
        char code = kPromptCodes[frame - 96];
        switch (code) {
            case 'J': case 'K': case 'L': case 'I': faceButton(c, code); break;
            case 'U': shoulder(c, "LB", false); break;
            case 'O': shoulder(c, "RB", false); break;
            case 'Q': trigger(c, "LT"); break;
            case 'E': trigger(c, "RT"); break;
            case 'F': dpad(c, 0); break;
            default: dpad(c, code); break;
        }
    } else if (frame == 109) {
        pressedFace(c);
    } else if (frame == 110) {
        shoulder(c, "", true);
    } else if (frame >= 112 && frame <= 124) {
        keycap(c, kPromptCodes[frame - 112]);
    }
    return c;
}

}  // namespace

Sheet gameFontSheet() {
    Sheet s{"fonts/shadow_editundo", 16, 16, 128, 16, nullptr};
    s.render = [](int frame, int factor) {
        if (frame <= 94) return shadowedGlyph(frame + 32, factor);
        return blockScale(promptFrame(frame), factor);
    };
    return s;
}

Canvas frameworkFont() {
    // 96 frames of 10 x 14: one clear column either side of an 8-wide cell.
    const int fw = 10, fh = 14;
    Canvas out(96 * fw, fh);
    for (int i = 0; i < 96; ++i) {
        int code = 32 + i;
        Canvas mask(fw, fh);
        if (code == 127) {
            for (int y = 3; y <= 9; ++y)
                for (int x = 2; x <= 7; ++x)
                    if (y == 3 || y == 9 || x == 2 || x == 7) mask.at(x, y) = hex(0xffffff);
        } else {
            const Glyph& g = glyph(code);
            int x0 = 1 + (8 - g.width) / 2;
            for (int y = 0; y < kGlyphRows; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (g.at(x, y)) mask.at(x0 + x, 3 + y) = hex(0xffffff);
        }
        out.blit(mask, i * fw, 0);
    }
    return out;
}

}  // namespace art
