#include "game/my_app.h"

namespace {

constexpr int kShownSlots = 13;
constexpr int kPopupWidth = 160;
constexpr int kPopupHeight = 32;
constexpr int kRowHeight = 34;
constexpr int kPopupLife = 240;
constexpr int kBadgeImage = 80;
constexpr int kIconFrames = 64;

String Suffix(int n) {
    if (n < 11 || n > 13) {
        if (n % 10 == 1) return String("st");
        if (n % 10 == 2) return String("nd");
        if (n % 10 == 3) return String("rd");
    }
    return String("th");
}

// Slides in from the left edge at 16 pixels an update, rests at 0, and
// slides out again in the last updates of its life.
int PopupX(int time, int width) {
    int x = time > kPopupLife - width / 16 ? 16 * (kPopupLife - time) - width : 16 * time - width;
    return x > 0 ? 0 : x;
}

}  // namespace

String c_MyApp::p_BadgeID(int badge) {
    if (badge == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int badge) { return p_BadgeID(badge).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int badge) { return p_BadgeID(badge).Split(String("|"))[1]; }

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    m_PopupWidth = kPopupWidth;
    for (int i = 0; i < kShownSlots; ++i) {
        if (m_BadgeShowTime[i] <= 0) continue;
        int time = ++m_BadgeShowTime[i];
        m_X = PopupX(time, m_PopupWidth);
        m_ScratchRow = static_cast<int>(kp_VTR_jscrh - static_cast<float>(kRowHeight * (i + 1)));
        float x = static_cast<float>(m_X);
        float y = static_cast<float>(m_ScratchRow);
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, static_cast<float>(m_PopupWidth), kPopupHeight);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(m_BadgeShow[i]), 0, 0, 0);
        // Only the first badges have an icon; anything else would ask the
        // sheet for a frame it does not have.
        int badge = m_BadgeShow[i];
        if (badge >= 0 && badge < kIconFrames) {
            p_SetSize(0.5f, 0.5f);
            p_DrawImg(kBadgeImage, static_cast<float>(m_PopupWidth - 16) + x, y + 16, static_cast<float>(badge));
            p_SetSize(1, 1);
        }
        if (time > kPopupLife) m_BadgeShowTime[i] = 0;
    }
    return 0;
}

String c_MyApp::p_Nth(int n) {
    if (n < 1 || n > 30) return String();
    return String(n) + Suffix(n);
}

// Ties count as reached here, unlike the recording of a finished game.
String c_MyApp::p_MyNth() {
    int top = 10 * (m_Difficulty - 1);
    m_N = 0;
    for (int place = 1; place <= 10 && m_N == 0; ++place) {
        if (m_HighScores[top + place - 1] <= m_Score) m_N = place;
    }
    if (m_N == 0) return String();
    return m_N == 1 ? String("1st!") : p_Nth(m_N);
}

int c_MyApp::p_GC_PostScore(int, int) { return 0; }

int c_MyApp::p_GC_Badges() { return 0; }
