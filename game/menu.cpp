#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/game_math.h"
#include "game/my_app.h"
#include "framework/input/input.h"
#include "runtime/errors.h"

namespace {

constexpr int kFocusDial = 0;
constexpr int kFocusWheel = 1;
constexpr int kFocusPanel = 2;


// The ring of circles beside the credits, in fixed colours.
constexpr float kRingColours[11][3] = {
    {255, 90, 90},  {255, 160, 60}, {255, 230, 80}, {140, 230, 90},  {60, 210, 170}, {60, 190, 255},
    {90, 120, 255}, {170, 90, 255}, {240, 90, 220}, {255, 130, 170}, {255, 255, 255},
};

}  // namespace

int c_MyApp::p_Menu() {
    if (m_MenuCursor > 2) m_MenuCursor = 2;
    p_DoBG(20, 80, 160, -123.0f);
    if (m_MenuIntro < 0) ++m_MenuIntro;
    bool fire = false;
    MenuBackKeys();
    MenuLogoAndPanel(fire);
    MenuTables();
    MenuWheelMotion();
    if (!MenuPanelOpen()) MenuWheel(fire);
    MenuKeys(fire);
    m_Difficulty = std::max(1, std::min(3, m_MenuCursor + 1));
    if (fire && !MenuPanelOpen()) MenuFire();
    p_ResetDraw();
    p_DrawImg(93, kp_VTR_jscrw - PanelWidth() / 2, 32, 0);
    if (m_MenuPanelB == 1) MenuCredits();
    return 0;
}

bool c_MyApp::MenuPanelOpen() { return m_MenuPanelA != 0 || m_MenuPanelB != 0 || m_OptionsOpen != 0; }

float c_MyApp::PanelWidth() { return m_PanelSlide + 140; }

void c_MyApp::SetLatches(int value) {
    m_KeyUsed = value;
    m_TouchUsed = value;
}

void c_MyApp::MenuBackKeys() {
    if (m_KeyUsed != 0 || m_TouchUsed != 0) return;
    if (kp_VTR_isOuya == 0) {
        for (int player = 0; player < 4; ++player) {
            if (p_PlayKey(99, 1, player)) kpError(String());
        }
        return;
    }
    if (AnyPlayerHolds(98) || kp_input_KeyDown(27)) {
        m_GameMode = 4;
        SetLatches(1);
    }
}

void c_MyApp::MenuLogoAndPanel(bool& fire) {
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh, panel = PanelWidth();
    p_ResetDraw();
    p_SetSize(1.5f, -3717);
    p_DrawImg(98, (width - panel) / 2, 12.0f * m_MenuIntro + 96, 0);
    p_ResetDraw();

    float left = width - panel - 8.0f * m_MenuIntro;
    bool focused = m_MenuFocus == kFocusPanel;
    p_SetCol(255, 255, 255, focused ? 1.0f : 0.2f);
    p_Rect(left - 3, -128, 3, height + 256);
    p_SetCol(0, 0, 0, focused ? 0.75f : 0.45f);
    p_Rect(left, -128, panel + 32, height + 128);

    bool onPanel = m_Pressing > 0 && p_MouseIn(left, -128, panel + 32, height + 128);
    float playX = width - panel / 2, playY = height - 48;
    if (onPanel && m_TouchUsed == 0 && !focused) {
        m_MenuFocus = kFocusPanel;
        SetLatches(1);
        p_PlaySFX(99, 1, 1, 0);
    }
    p_ResetDraw();
    p_SetSize(3, -3717);
    p_SetCol(100, 255, 100, m_MenuFocus == kFocusWheel ? 0.5f : 0.0f);
    p_DrawImg(97, playX, playY, 3);
    p_ResetDraw();
    bool onPlay = m_Pressing > 0 && p_MouseIn_Centered(playX, playY, 128, 128);
    if (onPlay && m_TouchUsed == 0 && !MenuPanelOpen()) {
        m_MenuFocus = kFocusWheel;
        fire = true;
    } else if (onPanel && m_TouchUsed == 0 && focused) {
        fire = true;
        p_PlaySFX(99, 1, 1, 0);
    }
}

String c_MyApp::TableText(const char* title, const char* single, int rows) {
    String text = rows == 1 ? String(single) : String(title) + String(rows);
    for (int row = 0; row < rows; ++row) {
        text += String("\\n") + p_rstr(m_HighScores[m_ScoreTable + row], 11, String(" "));
    }
    return text;
}

void c_MyApp::MenuTables() {
    if (m_Difficulty <= 0) return;
    m_ScoreTable = 10 * (m_Difficulty - 1);
    int rowHeight = static_cast<int>(std::lround(m_ImageSizes[m_FontImage * 3 + 1] * 1.5));
    int rows = rowHeight > 0 ? static_cast<int>(kp_VTR_jscrh / 2 - 90) / rowHeight : 1;
    rows = std::max(1, std::min(10, rows));
    float x = kp_VTR_jscrw - PanelWidth() - 4.0f * m_MenuIntro + 20;
    bool shown = m_MenuPanelA == 0 && m_OptionsOpen == 0 && m_MenuCursor < 4;
    p_ResetDraw();
    p_SetSize(1.5f, -3717);
    p_SetCol(255, 200, 100, 1);
    if (shown) p_Text(x, 60, TableText("Top ", "Highscore", rows), 0, 0, 0);
    m_ScoreTable += 30;
    p_SetCol(200, 255, 100, 1);
    if (shown) p_Text(x, kp_VTR_jscrh / 2 + 20, TableText("Last ", "Last", rows), 0, 0, 0);
    p_ResetDraw();
}

void c_MyApp::MenuWheelMotion() {
    if (m_MenuSpin != 0) {
        m_MenuScroll += m_MenuSpin;
        m_MenuSpin *= 0.75f;
        if (std::fabs(m_MenuSpin) < 1) m_MenuSpin = 0;
    }
    m_MenuAngle += (m_MenuScroll - m_MenuAngle) / 8;
    if (std::fabs(m_MenuScroll - m_MenuAngle) < 0.5f) m_MenuAngle = m_MenuScroll;
}

float c_MyApp::HubX() { return 12.0f * m_MenuIntro + 38; }

float c_MyApp::HubY() { return kp_VTR_jscrh - 64 - 8.0f * m_MenuIntro; }

void c_MyApp::MenuWheel(bool& fire) {
    float hubX = HubX(), hubY = HubY();
    bool hubTouched = m_Pressing > 0 && p_MouseIn_Centered(hubX, hubY, 64, 64);
    p_ResetDraw();
    p_SetSize(0.5f, -3717);
    p_Alpha(m_MenuFocus == kFocusDial ? 0.8f : 0.25f);
    p_DrawImg(85, hubX, hubY, 1);
    p_ResetDraw();
    p_SetSize(1.5f, -3717);
    const float turns[] = {-1, 2, -4};
    for (int layer = 0; layer < 3; ++layer) {
        p_SetRot(turns[layer] * m_DialAngle);
        p_DrawImg(95, hubX, hubY, static_cast<float>(8 + layer));
    }
    if (m_MenuFocus == kFocusDial) m_DialAngle = std::fmod(m_DialAngle + 0.3f, 360.0f);
    if (hubTouched && m_KeyUsed == 0 && m_TouchUsed == 0) {
        m_OptionsOpen = 1;
        m_TouchUsed = 1;
        p_PlaySFX(99, 1, 1, 0);
        m_MenuFocus = kFocusDial;
    }
    p_ResetDraw();
    p_SetSize(1.5625f, -3717);
    p_SetRot(-m_MenuAngle);
    p_Alpha(m_MenuFocus == kFocusWheel && !hubTouched ? 0.8f : 0.25f);
    p_DrawImg(85, hubX, hubY, 3);
    p_ResetDraw();
    DragWheel(hubTouched);
    MenuItems(fire);
}

void c_MyApp::DragWheel(bool hubTouched) {
    bool inWheel = m_Pressing > 0 && p_MouseIn_Centered(HubX(), HubY(), 500, 500) && !hubTouched;
    if (!inWheel || m_TouchUsed >= 1) {
        if (m_Pressing == 0) m_WheelDragging = 0;
        return;
    }
    if (m_WheelDragging == 0) {
        m_WheelDragging = 1;
        m_WheelDragX = m_MouseX;
        m_WheelDragY = m_MouseY;
        return;
    }
    float d = static_cast<float>((m_WheelDragX - m_MouseX) + (m_WheelDragY - m_MouseY));
    m_MenuSpin = std::max(-40.0f, std::min(40.0f, m_MenuSpin - 0.25f * d));
    m_MenuFocus = kFocusWheel;
    m_WheelDragX = m_MouseX;
    m_WheelDragY = m_MouseY;
    if (std::fabs(0.25f * d) > 1) SetLatches(-1);
}

void c_MyApp::MenuItems(bool& fire) {
    int lowest = kp_VTR_isOuya == 1 ? -2 : -1;
    int selected = m_MenuCursor;
    bool touchable = m_TouchUsed == 0 && m_Pressing > 0 && m_WheelPicked == 0 &&
                     std::fabs(m_MenuAngle - m_MenuScroll) < 2;
    if (m_Pressing == 0) m_WheelPicked = 0;
    for (int m = selected - 3; m <= selected + 3; ++m) {
        if (m >= 3 || m <= lowest) continue;
        float a = 32.0f * m + 48 + m_MenuAngle;
        float offset = std::fabs(a - 45);
        float emphasis = offset <= 45 ? 1.5f * (45 - offset) : 0;
        float x = HubX() + (emphasis + 116) * SinDeg(a);
        float y = HubY() - (emphasis + 116) * CosDeg(a);
        DrawWheelItem(m, a, x, y);
        if (std::fabs(m_MenuSpin) > 0.05f) BounceAndSelect(m, a, selected);
        if (touchable) TouchWheelItem(m, x, y, fire);
    }
}

void c_MyApp::DrawWheelItem(int m, float a, float x, float y) {
    p_ResetDraw();
    p_SetRot(-(a - 55) / 2);
    p_Alpha(m_MenuFocus == kFocusWheel ? 1.0f : 0.3f);
    if (m == -1) {
        p_DrawImg(97, x, y, 1);
    } else {
        p_DrawImg(95, x, y, static_cast<float>(((m % 6) + 6) % 6));
        int speeds = kp_VTR_MenuSet.Length() / 2;
        p_Text(x, y, kp_VTR_MenuSet[2 * (((m % speeds) + speeds) % speeds)], 1, 1, 0);
    }
    p_ResetDraw();
}

// The wheel bounces at its ends and selects whatever passes the pointer.
void c_MyApp::BounceAndSelect(int m, float a, int selected) {
    if (m == 2 && (a < 30 || a > 200)) m_MenuSpin = 4;
    if (m == 0 && a > 60 && a < 200) m_MenuSpin = -4;
    bool pickedNearby = m_WheelPicked == 1 && std::abs(m - m_MenuCursor) <= 1;
    if (a > 30 && a < 60 && m != selected && !pickedNearby) {
        m_MenuCursor = m;
        p_PlaySFX(99, 1, 1, 0);
    }
}

void c_MyApp::TouchWheelItem(int m, float x, float y, bool& fire) {
    for (int finger = 0; finger < 10; ++finger) {
        if (!m_TouchDown[finger]) continue;
        float dx = static_cast<float>(m_TouchX[finger]) - x, dy = static_cast<float>(m_TouchY[finger]) - y;
        float distance = dx * dx + dy * dy;
        if (m == m_MenuCursor && distance < 2048) {
            m_MenuFocus = kFocusWheel;
            m_MenuScroll = -32.0f * m_MenuCursor;
            m_TouchUsed = 1;
            p_PlaySFX(98, 1, 1, 0);
            fire = true;
            return;
        }
        if (m != m_MenuCursor && distance < 1352) {
            m_MenuCursor = m;
            m_MenuFocus = kFocusWheel;
            m_TouchUsed = -1;
            m_WheelPicked = 1;
            m_MenuScroll = -32.0f * m_MenuCursor;
            p_PlaySFX(99, 1, 1, 0);
            return;
        }
    }
}

void c_MyApp::MenuKeys(bool& fire) {
    bool up = p_PlayKey(0, 1, 0) != 0, down = p_PlayKey(8, 1, 0) != 0;
    MenuKeyRepeat(up, down);
    bool clear = m_KeyUsed == 0 && m_TouchUsed == 0;
    // With up and down held together only a direction that can move steps,
    // so the cursor never leaves the wheel's items.
    int lowest = kp_VTR_isOuya == 1 ? -1 : 0;
    bool stepUp = up && m_MenuCursor > lowest;
    bool stepDown = down && m_MenuCursor < 2;
    if (m_MenuFocus == kFocusWheel && clear && m_Player[21] < 1 && (stepUp || stepDown)) StepWheel(stepUp);
    if (kp_VTR_jscrw > 600 && m_MenuFocus == kFocusWheel) {
        int speeds = kp_VTR_MenuSet.Length() / 2;
        int index = 2 * (((m_MenuCursor % speeds) + speeds) % speeds) + 1;
        p_ResetDraw();
        p_Text(240, kp_VTR_jscrh - 52 - 3.0f * m_MenuIntro, kp_VTR_MenuSet[index], 0, 0, 0);
    }
    clear = m_KeyUsed == 0 && m_TouchUsed == 0;
    if (clear && p_PlayKey(3, 1, 0) && m_MenuFocus > 0) MoveFocus(-1);
    if (clear && p_PlayKey(5, 1, 0) && m_MenuFocus < 2) MoveFocus(1);
    bool fireKey = p_PlayKey(10, 1, 0) || p_PlayKey(11, 1, 0) || p_PlayKey(12, 1, 0);
    if (fireKey && m_KeyUsed == 0 && !MenuPanelOpen()) {
        p_PlaySFX(98, 1, 1, 0);
        fire = true;
    }
}

// A held direction steps at once, then ever faster.
void c_MyApp::MenuKeyRepeat(bool up, bool down) {
    if (!up && !down) {
        m_Player[21] = 0;
        m_Player[22] = 30;
        return;
    }
    m_Player[21] -= 1;
    if (m_Player[21] < 0) m_KeyUsed = 0;
}

void c_MyApp::StepWheel(bool up) {
    m_MenuCursor += up ? -1 : 1;
    m_Player[21] = m_Player[22];
    m_Player[22] = std::max(3.0f, m_Player[22] - 12);
    m_MenuScroll = -32.0f * m_MenuCursor;
    SetLatches(1);
    p_PlaySFX(99, 1, 1, 0);
}

void c_MyApp::MoveFocus(int step) {
    m_MenuFocus += step;
    p_PlaySFX(99, 1, 1, 0);
    SetLatches(1);
}

void c_MyApp::MenuFire() {
    if (m_MenuFocus == kFocusWheel && m_MenuCursor == -1) kpError(String());
    if (m_MenuFocus == kFocusWheel) {
        m_PromptStyle = m_Pressing > 0 ? 2 : 1;
        if (m_Pressing == 0) {
            for (int key = 10; key <= 15; ++key) {
                if (p_PlayKey(key, 0, -1)) m_PromptStyle = 0;
            }
        }
        SetLatches(1);
        m_MenuScroll = -32.0f * m_MenuCursor;
        m_GameMode = 11;
        return;
    }
    SetLatches(1);
    p_PlaySFX(99, 1, 1, 0);
    if (m_MenuFocus == kFocusDial) m_OptionsOpen = 1;
    if (m_MenuFocus == kFocusPanel) m_MenuPanelB = 1;
}

void c_MyApp::MenuCredits() {
    bool scrolling = false;
    for (int player = 0; player < 4; ++player) {
        scrolling = scrolling || p_PlayKey(0, 1, player) || p_PlayKey(8, 1, player);
    }
    m_CreditScroll -= scrolling ? 1.8f : 0.3f;
    if (m_CreditScroll < -16) {
        m_CreditScroll += 16;
        ++m_CreditLine;
    }
    float width = kp_VTR_jscrw, height = kp_VTR_jscrh, panel = PanelWidth();
    p_ResetDraw();
    p_SetSize(0.8f, -3717);
    int lines = kp_VTR_CreditText.Length() - 1;
    for (int j = -3; j <= 4; ++j) {
        int index = ((m_CreditLine + j) % lines + lines) % lines;
        float f = std::fabs((16.0f * j + m_CreditScroll) / 40) - 0.3f;
        float rise = f > 1 ? 24 : (f >= 0 ? 24 * f : 0);
        p_Text(2 * width - 160 - panel, 16.0f * j + height / 2 + 24 + m_CreditScroll - rise, kp_VTR_CreditText[index],
               0.8f, 0.8f, 0);
    }
    p_ResetDraw();
    CreditsDebugBlock(2 * width - 20 - panel);
    for (int i = 0; i < 11; ++i) {
        float theta = 4 * (6.0f * i - m_CreditScroll / 16 + static_cast<float>(m_CreditLine));
        p_SetCol(kRingColours[i][0], kRingColours[i][1], kRingColours[i][2], 1);
        p_Oval(2 * width - 150 - panel + 100 * SinDeg(theta), height / 2 - 100 * CosDeg(theta), 16, 16);
    }
    p_ResetDraw();
    float footX = 2 * width - 150 - panel;
    p_DrawImg(95, footX, height - 96, 12);
    p_Text(footX, height - 48, String("Coded in"), 1, 1, 0);
    p_Text(footX, height - 32, String("C++ at Pelk"), 1, 1, 0);
    bool close = m_Pressing > 0 && m_TouchUsed == 0;
    for (int key = 10; key <= 13; ++key) close = close || (p_PlayKey(key, 1, 0) && m_KeyUsed == 0);
    if (close) {
        m_MenuPanelB = 0;
        SetLatches(1);
        p_PlaySFX(99, 1, 1, 0);
    }
}

void c_MyApp::CreditsDebugBlock(float x) {
    const String by = String("x");
    const String rows[] = {
        String("Debug Stats"),
        String("Engine"),
        String(static_cast<int>(kp_VTR_jscrw)) + by + String(static_cast<int>(kp_VTR_jscrh)),
        String("Screen"),
        String(kp_app_DeviceWidth()) + by + String(kp_app_DeviceHeight()),
        String("FPS"),
        String(m_UpdateFpsAvg) + String(" : ") + String(m_RenderFpsAvg),
    };
    const float ys[] = {16, 32, 44, 60, 72, 88, 100};
    for (int row = 0; row < 7; ++row) p_Text(x, ys[row], rows[row], 2, 1, 0);
}
