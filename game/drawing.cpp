#include <algorithm>
#include <cmath>
#include <utility>

#include "game/game_math.h"
#include "game/my_app.h"

namespace {

constexpr float kNotGiven = -3717;
constexpr float kRectKind = -3717;
constexpr float kOvalKind = -3716;
constexpr float kLineKind = -3715;
constexpr float kTriKind = -3714;

constexpr int kRecordSize = 15;
constexpr int kPromptMarker = 0x00AC;

// Queues one command: the seven shape slots given, the drawing state after
// them. A full list drops the command; the frame simply shows less.
void Append(c_MyApp* app, float kind, float s1, float s2, float s3, float s4, float s5, float s6) {
    if (app->m_DrawCount + kRecordSize > app->m_DrawList.Length()) return;
    float* record = app->m_DrawList.Data() + app->m_DrawCount;
    record[0] = kind;
    record[1] = s1;
    record[2] = s2;
    record[3] = s3;
    record[4] = s4;
    record[5] = s5;
    record[6] = s6;
    record[7] = app->m_DrawAlpha;
    record[10] = app->m_DrawRed;
    record[11] = app->m_DrawGreen;
    record[12] = app->m_DrawBlue;
    record[13] = static_cast<float>(app->m_DrawBlend);
    app->m_DrawCount += kRecordSize;
}

float Brightness(float factor, float brightness) {
    float value = factor * brightness * 255;
    if (value < 0) return 0;
    if (value > 255) return 255;
    return value;
}

struct Factors {
    float red, green, blue;
};

Factors InkFactors(int colour) {
    switch (colour) {
        case 1: return {1, 0.1f, 0.1f};
        case 2: return {1, 0.5f, 0.1f};
        case 3: return {1, 1, 0.1f};
        case 4: return {0.1f, 1, 0.1f};
        case 5: return {0.1f, 1, 1};
        case 6: return {0.1f, 0.1f, 1};
        case 7: return {0.5f, 0.1f, 1};
        case 8: return {1, 0.1f, 0.5f};
        case 9: return {1, 1, 1};
        default: return {0.3f, 0.3f, 0.3f};
    }
}

// The font's own kerning: how much wider or narrower than the advance a
// character stands.
int Kerning(int code) {
    switch (code) {
        case 'w': case 'm': return 2;
        case 'W': case 'M': return 1;
        case 'i': case 'f': case 'l': return -3;
        case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
        default: return 0;
    }
}

struct Glyph {
    int frame;
    int adjust;
};

// Pad and touch glyphs sit in the first column of the font's last rows, the
// keyboard's one row further on; a pad's action glyphs blink to a pressed
// button.
Glyph PromptGlyph(int code, int style, int millisecs) {
    int frame = code;
    int blink = -1;
    int adjust = 4;
    switch (code) {
        case 'J': frame = 96; blink = 109; break;
        case 'K': frame = 97; blink = 109; break;
        case 'L': frame = 98; blink = 109; break;
        case 'I': frame = 99; blink = 109; break;
        case 'U': frame = 100; blink = 110; adjust = 6; break;
        case 'O': frame = 101; blink = 110; adjust = 6; break;
        case 'Q': frame = 102; break;
        case 'E': frame = 103; break;
        case 'F': frame = 104; break;
        case 'W': frame = 105; blink = 104; break;
        case 'S': frame = 106; blink = 104; break;
        case 'A': frame = 107; blink = 104; break;
        case 'D': frame = 108; blink = 104; break;
        default: break;
    }
    if (style == 0) return {frame + 16, adjust};
    if (style == 1 && blink >= 0 && millisecs % 500 < 200) return {blink, adjust};
    return {frame, adjust};
}

// The width from the first character's centre to the last one's, truncated
// at every step as the layout's alignment expects.
int MeasureText(const String& text, int advance, float scaleX) {
    int width = 0;
    for (int i = 0; i < text.Length() - 1; ++i) {
        int adjust;
        if (text[i] == kPromptMarker) {
            ++i;
            adjust = 2;
        } else {
            adjust = Kerning(text[i]);
        }
        width = static_cast<int>(width + (advance + adjust) * scaleX);
    }
    return width;
}

bool IsLineBreak(const String& text, int i) { return text[i] == '\\' && i + 1 < text.Length() && text[i + 1] == 'n'; }

}  // namespace

int c_MyApp::p_ResetDraw() {
    m_DrawScaleX = 1;
    m_DrawScaleY = 1;
    m_DrawRot = 0;
    m_DrawRed = 255;
    m_DrawGreen = 255;
    m_DrawBlue = 255;
    m_DrawAlpha = 1;
    m_DrawBlend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    m_ViewX = 0;
    m_ViewY = 0;
    m_ViewW = kp_VTR_jscrw;
    m_ViewH = kp_VTR_jscrh;
    if (r > kNotGiven) {
        m_ClsRed = r;
        m_ClsGreen = g;
        m_ClsBlue = b;
        m_ClsAlpha = a;
    }
    p_ResetDraw();
    m_DrawCount = 0;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_DrawScaleX = sx;
    m_DrawScaleY = sy <= kNotGiven ? sx : sy;
    return 0;
}

// Stored negated: the replay's rotation turns counter-clockwise on screen.
int c_MyApp::p_SetRot(float degrees) {
    m_DrawRot = -degrees;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_DrawRed = r;
    m_DrawGreen = g;
    m_DrawBlue = b;
    if (a > kNotGiven) m_DrawAlpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_DrawAlpha = a;
    return 0;
}

int c_MyApp::p_Ink(int colour, float brightness) {
    Factors factors = InkFactors(colour);
    m_DrawRed = Brightness(factors.red, brightness);
    m_DrawGreen = Brightness(factors.green, brightness);
    m_DrawBlue = Brightness(factors.blue, brightness);
    return 0;
}

int c_MyApp::p_DrawImg(int image, float x, float y, float frame) {
    Append(this, static_cast<float>(image), x, y, m_DrawRot, m_DrawScaleX, m_DrawScaleY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    Append(this, kRectKind, x, y, m_DrawRot, w, h, 0);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float xRadius, float yRadius) {
    Append(this, kOvalKind, x, y, m_DrawRot, xRadius, yRadius, 0);
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    Append(this, kLineKind, x1, y1, m_DrawRot, x2, y2, 0);
    return 0;
}

// The outer points are exchanged whenever either lies right of the middle
// one.
int c_MyApp::p_Tri(float x1, float y1, float x2, float y2, float x3, float y3) {
    if (x1 > x2 || x3 > x2) {
        std::swap(x1, x3);
        std::swap(y1, y3);
    }
    Append(this, kTriKind, x1, y1, x2, y2, x3, y3);
    return 0;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
    String text;
    for (int i = 0; i <= width; ++i) text += pad;
    text += String(value);
    return width > 0 ? text.Slice(std::max(0, text.Length() - width)) : String();
}

// Lays the text out from a leading space, glyph by glyph along the rotation;
// a backslash followed by "n" starts a new line, and the marker U+00AC
// followed by a letter draws a control prompt.
int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY, int fontOffset) {
    String s = String(" ") + text;
    int advance = m_ImageSizes[m_FontImage * 3];
    int lineHeight = m_ImageSizes[m_FontImage * 3 + 1];
    float r = -m_DrawRot;
    float sx = m_DrawScaleX;
    float sy = m_DrawScaleY;
    int width = MeasureText(s, advance, sx);
    float startX = x + SinDeg(r - 90) * width * 0.5f * alignX + SinDeg(r) * lineHeight * sy * (alignY - 1) * 0.5f;
    float startY = y - CosDeg(r - 90) * width * 0.5f * alignX - CosDeg(r) * lineHeight * sy * (alignY - 1) * 0.5f;
    float penX = startX;
    float penY = startY;
    int line = 0;
    int millisecs = kp_app_Millisecs();
    for (int i = 0; i < s.Length(); ++i) {
        Glyph glyph{s[i] - 32, Kerning(s[i])};
        if (s[i] == kPromptMarker) {
            if (++i == s.Length()) break;
            glyph = PromptGlyph(s[i], m_PromptStyle, millisecs);
        } else if (IsLineBreak(s, i)) {
            ++i;
            ++line;
            penX = startX + SinDeg(r + 180) * lineHeight * sy * line + SinDeg(r + 90) * advance * sx;
            penY = startY - CosDeg(r + 180) * lineHeight * sy * line - CosDeg(r + 90) * advance * sx;
            continue;
        }
        if (s[i] == 0) continue;
        if (glyph.frame >= 1 && glyph.frame <= 127) p_DrawImg(m_FontImage + fontOffset, penX, penY, glyph.frame);
        penX += SinDeg(r + 90) * (advance + glyph.adjust) * sx;
        penY -= CosDeg(r + 90) * (advance + glyph.adjust) * sx;
    }
    return 0;
}
