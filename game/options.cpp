#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/game_math.h"
#include "game/my_app.h"
#include "runtime/errors.h"

namespace {

constexpr int kHeldCodes[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};


const char* const kVolumeNames[] = {"[-  -  - Loud]", "[-  - Normal-]", "[- Quiet -  -]", "[OFF  -  -  -]"};
const float kMusicVolumes[] = {1.0f, 0.7f, 0.4f, 0.0f};
constexpr int kMusicRow = 2;
constexpr int kQuitRow = 6;

// The bitmap text's picture of a controller button.
String Prompt(char letter) { return String::FromChar(0xAC) + String::FromChar(letter); }

}  // namespace

int c_MyApp::p_OptionBox() {
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh;
    if (kp_VTR_isOuya == 1) OverscanFrame();
    m_KeyUsed = 1;
    m_TouchUsed = 1;
    if (m_OptionsTimer != 30) m_OptionKeyHeld = m_OptionTouchHeld = 1;
    p_ResetDraw();
    p_SetCol(150, 75, 0, 0.85f);
    p_Rect(50, (30.0f - m_OptionsTimer) * 24, width - 100, height);
    OptionBackDial();
    if (kp_VTR_isOuya == 1) OverscanRow((3.0f * m_OptionsTimer - 90) * 4 + 92, m_OptionTouchHeld, m_OptionKeyHeld);
    m_Settings[5] = 1;
    int rows = OptionRows();
    OptionKeys(rows);
    if (m_Pressing == 0) m_OptionTouchHeld = 0;
    bool held = false;
    for (int key : kHeldCodes) held = held || AnyPlayerHolds(key);
    if (!held) m_OptionKeyHeld = 0;
    p_ResetDraw();
    return 0;
}

void c_MyApp::OverscanFrame() {
    float w = kp_VTR_jscrw, h = kp_VTR_jscrh;
    p_ResetDraw();
    const float corners[4][2] = {{0, 0}, {w - 16, 0}, {0, h - 16}, {w - 16, h - 16}};
    for (const auto& corner : corners) {
        float x = corner[0], y = corner[1];
        p_Rect(x, y + (y > 0 ? 8 : 0), 16, 8);
        p_Rect(x + (x > 0 ? 8 : 0), y, 8, 16);
    }
}

void c_MyApp::CloseOptions() {
    m_OptionsOpen = 0;
    p_PlaySFX(99, 1, 1, 0);
    p_Save();
    m_KeyUsed = 1;
    m_TouchUsed = 1;
}

void c_MyApp::OptionBackDial() {
    float x = (3.0f * m_OptionsTimer - 90) * 4 + 100, y = 60;
    float scale = m_OptionCursor == 0 ? 2.0f : 1.5f;
    m_DialAngle += 0.2f;
    p_ResetDraw();
    p_SetSize(scale, -3717);
    const float turns[] = {0.66f, -0.33f, -1.0f};
    for (int layer = 0; layer < 3; ++layer) {
        p_SetRot(turns[layer] * m_DialAngle);
        p_DrawImg(95, x, y, static_cast<float>(8 + layer));
    }
    bool hit = FingerOnImage(95, x, y, false);
    p_ResetDraw();
    p_SetSize(2, -3717);
    p_Text(x + 76, 60, String("<[BACK]"), 0, 1, 0);
    p_ResetDraw();
    bool latchesClear = m_OptionKeyHeld == 0 && m_OptionTouchHeld == 0;
    if (latchesClear && (hit || AnyPlayerHolds(99))) CloseOptions();
}

// The console's picture margin: a touch on its bar flips it between the
// edges; two buttons step it.
void c_MyApp::OverscanRow(float y, int& touchLatch, int& keyLatch) {
    float x = 0.6f * kp_VTR_jscrw;
    int& margin = m_Settings[14];
    p_ResetDraw();
    p_Text(x, y, Prompt('U') + String(" <      Overscan      > ") + Prompt('O'), 1, 1, 0);
    p_SetCol(0, 128, 255, 0.5f);
    p_Rect(x - 128, y - 5, 256, 9);
    p_SetCol(255, 255, 0, 0.75f);
    p_Rect(2.67f * margin + x - 132, y - 8, 8, 16);
    p_ResetDraw();
    if (m_Pressing > 0 && touchLatch == 0 && p_MouseIn(x - 128, y - 8, 256, 16)) {
        touchLatch = 1;
        p_PlaySFX(98, 1, 1, 0);
        int before = margin;
        if (before > 1) margin = 1;
        if (before < 32) margin = 96;
    }
    if (keyLatch == 0 && AnyPlayerHolds(14)) {
        margin -= 16;
        keyLatch = 1;
    }
    if (keyLatch == 0 && AnyPlayerHolds(15)) {
        margin += 16;
        keyLatch = 1;
    }
    margin = std::max(1, std::min(96, margin));
    kp_VTR_overscan = static_cast<float>(margin);
}

String c_MyApp::OptionText(int row) {
    if (row == 1 || row == 2) {
        int& step = m_Settings[row == 1 ? 6 : 7];
        if (step < 0 || step > 3) {
            step = 0;
            return String();
        }
        return String(row == 1 ? "Sound : " : "Music : ") + String(kVolumeNames[step]);
    }
    if (row == 3) return String(m_Fullscreen == 1 ? "Windowed" : "Fullscreen");
    if (row == 4) return String(m_Settings[15] == 1 ? "Left Thumbstick Y Normal" : "Left Thumbstick Y Flipped");
    return String(m_Settings[16] == 1 ? "Right Thumbstick Y Normal" : "Right Thumbstick Y Flipped");
}

// The Music row exists only with a music stream; the Quit row only on the
// console, and not over a paused game.
bool c_MyApp::OptionRowShown(int row) {
    if (row == kMusicRow) return kp_VTR_HasMusicStream == 1;
    if (row == kQuitRow) return kp_VTR_isOuya == 1 && m_Paused == 0;
    return row >= 0 && row < kQuitRow;
}

// Draws the rows and acts on the one touched or chosen; returns the last row.
// Rows not shown take no room, and the cursor never rests on them.
int c_MyApp::OptionRows() {
    while (m_OptionCursor > 0 && !OptionRowShown(m_OptionCursor)) --m_OptionCursor;
    float y = (30.0f - m_OptionsTimer) * 24 + 130;
    for (int row = 1; row < kQuitRow; ++row) {
        if (!OptionRowShown(row)) continue;
        bool touched = OptionBar(84, y, kp_VTR_jscrw - 168, m_OptionCursor == row);
        p_SetSize(2, -3717);
        p_Text(100, y, OptionText(row), 0, 0, 0);
        if (touched) m_OptionCursor = row;
        bool keyed = OptionChosen(row) && m_OptionKeyHeld == 0;
        if (touched || keyed) ActOnOption(row);
        y += 40;
    }
    if (OptionRowShown(kQuitRow)) QuitRow(y);
    p_ResetDraw();
    return OptionRowShown(kQuitRow) ? kQuitRow : kQuitRow - 1;
}

// A row's bar, lit while the cursor is on it; true when it is touched.
bool c_MyApp::OptionBar(float x, float y, float width, bool lit) {
    p_ResetDraw();
    if (lit) {
        p_SetCol(0, 180, 255, 0.5f);
    } else {
        p_SetCol(0, 0, 160, 0.5f);
    }
    bool touched = p_Touch(x, y - 2, width, 24) != 0;
    p_ResetDraw();
    return touched;
}

bool c_MyApp::OptionChosen(int row) {
    if (m_OptionCursor != row) return false;
    for (int button = 10; button <= 15; ++button) {
        if (AnyPlayerHolds(button)) return true;
    }
    return false;
}

void c_MyApp::ActOnOption(int row) {
    bool windowRow = row == 3;
    bool allowed = windowRow ? m_OptionTouchHeld == 0 : m_OptionKeyHeld == 0 && m_OptionTouchHeld == 0;
    if (!allowed) return;
    m_OptionKeyHeld = m_OptionTouchHeld = 1;
    p_PlaySFX(99, 1, 1, 0);
    if (row == 1) m_Settings[6] = (m_Settings[6] + 1) % 4;
    if (row == 2) {
        m_Settings[7] = (m_Settings[7] + 1) % 4;
        kp_audio_SetMusicVolume(kMusicVolumes[m_Settings[7]]);
        m_Settings[5] = 1;
    }
    if (row == 3) p_FullscreenFlip();
    if (row == 4) m_Settings[15] = (m_Settings[15] + 1) % 2;
    if (row == 5) m_Settings[16] = (m_Settings[16] + 1) % 2;
}

void c_MyApp::QuitRow(float previousY) {
    float y = previousY + (kp_VTR_jscrh > kp_VTR_jscrw ? 80.0f : 40.0f) - 40;
    float x = kp_VTR_jscrw - 264;
    bool touched = OptionBar(x - 16, y, 180, m_OptionCursor == kQuitRow);
    p_SetSize(2, -3717);
    p_Text(x, y, String("Quit"), 0, 0, 0);
    bool chosen = OptionChosen(kQuitRow) && m_OptionKeyHeld == 0;
    if ((touched || chosen) && m_OptionTouchHeld == 0) kpError(String());
}

void c_MyApp::OptionKeys(int rows) {
    if (m_OptionKeyHeld != 0) return;
    bool fire = AnyPlayerHolds(15) || AnyPlayerHolds(10) || AnyPlayerHolds(11);
    if (fire && m_OptionCursor == 0 && m_OptionTouchHeld == 0) {
        CloseOptions();
        return;
    }
    int before = m_OptionCursor;
    int step = 0;
    if ((AnyPlayerHolds(0) || AnyPlayerHolds(3)) && m_OptionCursor > 0) step = -1;
    if ((AnyPlayerHolds(8) || AnyPlayerHolds(5)) && m_OptionCursor < rows) step = 1;
    if (step != 0) {
        do {
            m_OptionCursor += step;
        } while (!OptionRowShown(m_OptionCursor));
    }
    if (m_OptionCursor != before) {
        p_PlaySFX(99, 1, 1, 0);
        m_OptionKeyHeld = 1;
    }
}

int c_MyApp::p_PauseMenu() {
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh;
    p_DoBG(-123, -123, -123, -123.0f);
    p_ResetDraw();
    p_SetCol(0, 0, 0, std::fabs(static_cast<float>(m_PauseSlide)) / (0.8f * height));
    p_Rect(0, 0, width, height);
    SlidePause();
    PauseOrbit();
    p_ResetDraw();
    p_Text(width / 2 + 96, height / 2, String("PAUSED"), 1, 1, 0);
    if (kp_VTR_isOuya == 1) OverscanRow(static_cast<float>(m_PauseSlide) - 150, m_TouchUsed, m_KeyUsed);
    PauseButtons();
    p_ResetDraw();
    return 0;
}

void c_MyApp::SlidePause() {
    if (m_PauseState == 1 && m_PauseSlide < kp_VTR_jscrh / 2) m_PauseSlide += 24;
    if (m_PauseState == -1) {
        m_PauseSlide -= 24;
        if (m_PauseSlide < -32) m_Paused = 0;
    }
}

// A little spirograph to play with while paused: up and down change its
// radius, left and right its speed.
void c_MyApp::PauseOrbit() {
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh;
    float cx = width / 2 + 96, cy = height / 2;
    float limit = std::min(0.45f * height, 0.45f * (width - 96));
    m_OrbitAngle1 += 1;
    m_OrbitAngle2 += m_OrbitSpeed;
    m_OrbitAngle3 += 1.5f;
    if (AnyPlayerHolds(0)) m_OrbitRadius -= 1;
    if (AnyPlayerHolds(8)) m_OrbitRadius += 1;
    if (AnyPlayerHolds(3)) m_OrbitSpeed -= 0.25f;
    if (AnyPlayerHolds(5)) m_OrbitSpeed += 0.25f;
    m_OrbitRadius = std::max(0.0f, std::min(limit, m_OrbitRadius));
    m_OrbitSpeed = std::max(0.0f, std::min(128.0f, m_OrbitSpeed));
    float reach = limit - m_OrbitRadius;
    float penX = cx + reach * SinDeg(m_OrbitAngle1) + m_OrbitRadius * SinDeg(m_OrbitAngle2);
    float penY = cy - reach * CosDeg(m_OrbitAngle1) - m_OrbitRadius * CosDeg(m_OrbitAngle2);
    for (int i = 0; i < 2 * 101; ++i) m_OrbitTrail[i] = m_OrbitTrail[i + 2];
    m_OrbitTrail[2 * 101] = penX;
    m_OrbitTrail[2 * 101 + 1] = penY;
    p_ResetDraw();
    for (int i = 0; i <= 100; ++i) {
        float wave = m_OrbitAngle3 + 2.0f * i;
        auto channel = [](float value) { return std::max(0.0f, std::min(255.0f, std::round(value))); };
        p_SetCol(channel(i + i * SinDeg(wave)), channel(i + i * CosDeg(wave)), channel(i - i * CosDeg(wave)), 1);
        float x1 = m_OrbitTrail[2 * i], y1 = m_OrbitTrail[2 * i + 1];
        float x2 = m_OrbitTrail[2 * i + 2], y2 = m_OrbitTrail[2 * i + 3];
        p_Line(x1, y1, x2, y2);
        p_Line(x1 - 0.5f, y1 - 0.5f, x2 - 0.5f, y2 - 0.5f);
    }
    p_ResetDraw();
    p_SetSize(2, -3717);
    p_SetCol(100, 255, 100, 0.8f);
    String figures = String(static_cast<int>(m_OrbitRadius)) + String(":") + String(static_cast<int>(m_OrbitSpeed));
    p_Text(width - 8, height - 8, figures, 2, 2, 0);
}

void c_MyApp::PauseButtons() {
    float x = std::round(64 - (kp_VTR_jscrh / 2 - static_cast<float>(m_PauseSlide)));
    p_ResetDraw();
    bool touchFree = m_TouchUsed == 0;
    bool carryOn = p_Button(97, x, 196, 3) != 0;
    bool quit = p_Button(97, x, 96, 1) != 0;
    if (m_OptionsOpen == 0) m_DialAngle += 0.2f;
    const float turns[] = {0.66f, -0.33f, -1.0f};
    for (int layer = 0; layer < 3; ++layer) {
        p_SetRot(turns[layer] * m_DialAngle);
        p_DrawImg(95, x, 296, static_cast<float>(8 + layer));
    }
    p_ResetDraw();
    bool options = FingerOnImage(95, x, 296, false);
    const float rowY[] = {96, 196, 296};
    p_DrawImg(97, x + 56, rowY[m_PauseCursor + 1], 6);
    if (m_KeyUsed == 0) {
        if (AnyPlayerHolds(10)) {
            carryOn = carryOn || m_PauseCursor == 0;
            quit = quit || m_PauseCursor == -1;
            options = options || m_PauseCursor == 1;
            touchFree = true;
            m_KeyUsed = 1;
        } else if (AnyPlayerHolds(0) && m_PauseCursor > -1) {
            --m_PauseCursor;
            m_KeyUsed = 1;
            p_PlaySFX(99, 1, 1, 0);
        } else if (AnyPlayerHolds(8) && m_PauseCursor < 1) {
            ++m_PauseCursor;
            m_KeyUsed = 1;
            p_PlaySFX(99, 1, 1, 0);
        } else if (AnyPlayerHolds(99)) {
            carryOn = true;
            touchFree = true;
            m_KeyUsed = 1;
        }
    }
    if (!touchFree || m_OptionsOpen == 1) return;
    if (carryOn) {
        m_TouchUsed = 1;
        m_PauseState = -1;
        p_PlaySFX(98, 1, 1, 0);
    } else if (quit) {
        m_TouchUsed = 1;
        m_Paused = 0;
        m_PauseState = -1;
        m_PauseSlide = -64;
        m_GameOverTimer = 1;
        m_QuitChoice = -1;
        p_PlaySFX(98, 1, 1, 0);
    } else if (options) {
        m_TouchUsed = 1;
        m_OptionsOpen = 1;
        p_PlaySFX(99, 1, 1, 0);
    }
}

int c_MyApp::p_OuyaQuit() {
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh;
    m_ClsRed = 220;
    m_ClsGreen = 220;
    m_ClsBlue = 200;
    m_ClsAlpha = -1.0f;
    m_ViewX = 0;
    m_ViewY = 0;
    m_ViewW = width;
    m_ViewH = height;
    m_DrawCount = 0;
    p_ResetDraw();
    p_SetCol(0, 0, 128, 1);
    p_Rect(32, 32, width - 64, height - 64);
    p_SetCol(255, 0, 0, 0.4f);
    p_Oval(width - 48, height - 16, 3, 3);
    p_Oval(width - 48, height - 16, 2, 2);
    p_Oval(width - 49, height - 17, 1, 1);
    p_ResetDraw();
    const struct {
        String text;
        int gap;
    } lines[] = {
        {String("Unexpected Quit"), 36},
        {String("The player is trying to quit"), 20},
        {String("without using the lovely"), 20},
        {String("quit button on the Menu."), 46},
        {String("What should I do?"), 38},
        {String("Hit ") + Prompt('K') + String(" to Quit"), 20},
        {String("or ") + Prompt('J') + String(" to Ignore"), 20},
    };
    float y = std::round(0.3f * height);
    for (const auto& line : lines) {
        p_Text(64, y, line.text, 0, 1, 0);
        y += static_cast<float>(line.gap);
    }
    if (m_KeyUsed != 0 || m_TouchUsed != 0) return 0;
    if (AnyPlayerHolds(10)) {
        m_GameMode = 1;
        m_KeyUsed = 1;
        m_TouchUsed = 1;
    } else if (AnyPlayerHolds(11) || AnyPlayerHolds(12) || AnyPlayerHolds(99)) {
        kpError(String());
    }
    return 0;
}
