#include <algorithm>
#include <cstdlib>

#include "game/game_math.h"
#include "game/my_app.h"
#include "game/player_record.h"

using namespace PlayerSlot;

namespace {

constexpr int kPlayMode = 10;
constexpr int kReturnToMenuMode = 2;
constexpr int kGameOverLength = 90;

// The place being chased in the Top table of this speed and the score that
// takes it; "11th" and the tenth entry until that one is beaten. An empty
// entry counts as beaten.
String ChaseLine(c_MyApp& app) {
    const int* top = app.m_HighScores.Data() + 10 * (app.m_Difficulty - 1);
    int place = 10;
    int target = top[9];
    for (int k = 9; k >= 1; --k) {
        if (top[k] < app.m_Score || top[k] == 0) {
            place = k - 1;
            target = top[k - 1];
        }
    }
    return app.p_Nth(place + 1) + String(" ") + app.p_rstr(target, 8, String("0"));
}

// The first icon sits 16 past the start and each next one 32 further: an
// icon is 32 pixels wide, 24 at this scale, so they stand apart without
// overlapping.
void DrawLives(c_MyApp& app) {
    app.p_SetSize(0.75f, 0.75f);
    app.p_SetCol(255, 255, 255, 0.8f);
    int lives = Trunc(app.m_Player[kLives]);
    float x = static_cast<float>(Trunc(kp_VTR_jscrw / 2 + 64) + 16);
    for (int life = 0; life < lives; ++life) app.p_DrawImg(97, x + 32.0f * static_cast<float>(life), 24, 11);
}

void Darken(c_MyApp& app, float alpha) {
    float margin = kp_VTR_overscan + 1;
    app.p_SetCol(0, 0, 0, alpha);
    app.p_Rect(-margin, -margin, kp_VTR_jscrw + 2 * margin, kp_VTR_jscrh + 2 * margin);
}

// Two bands grow in from opposite edges.
void DrawBands(c_MyApp& app, int b) {
    float w = kp_VTR_jscrw;
    float h = kp_VTR_jscrh;
    float length = static_cast<float>(2 * b);
    app.p_SetCol(255, 255, 0, 0.5f);
    app.p_Rect(-1, 0.45f * h - 8, length, 16);
    app.p_SetCol(255, 128, 0, -3717);
    app.p_Rect(w - length, 0.55f * h - 8, length + 1, 16);
}

void DrawWords(c_MyApp& app, int b) {
    bool quit = app.m_QuitChoice == -1;
    float w = kp_VTR_jscrw;
    float h = kp_VTR_jscrh;
    app.p_SetSize(4, 4);
    app.p_SetCol(255, 180, 180, -3717);
    app.p_Text(0.35f * w, static_cast<float>(b), String(quit ? "Quit" : "GAME"), 1, 1, 0);
    app.p_Text(0.65f * w, h - static_cast<float>(b), String(quit ? "Game" : "OVER"), 1, 1, 0);
}

void DrawNewHighscore(c_MyApp& app, int b) {
    String place = app.p_MyNth();
    if (app.m_N <= 0) return;
    float w = kp_VTR_jscrw;
    float y = kp_VTR_jscrh - static_cast<float>(b) / 1.5f;
    app.p_SetCol(0, 125, 255, 0.5f);
    app.p_Rect(0.35f * w, y - 16, 0.3f * w, 32);
    app.p_SetSize(2, 2);
    app.p_SetCol(100, 255, 100, -3717);
    app.p_Text(w / 2, y, String("New Highscore\\n           ") + place, 0.5f, 2.0f, 0);
}

// While the overlay shows, everything still moving rushes off and no input
// reaches the game.
void DrawOverlay(c_MyApp& app) {
    int t = app.m_GameOverTime;
    app.m_Player[kSpeed] = 240;
    app.m_KeyUsed = 1;
    app.m_TouchUsed = 1;
    Darken(app, std::min(0.7f, static_cast<float>(t) / 40));
    int b = std::min(12 * t, Trunc(kp_VTR_jscrh * 0.45f));
    DrawBands(app, b);
    DrawWords(app, b);
    DrawNewHighscore(app, b);
    app.p_ResetDraw();
}

}  // namespace

int c_MyApp::p_ScoreDisplay() {
    m_ShownScore -= (m_ShownScore - m_Score) / 6;
    if (std::abs(m_ShownScore - m_Score) < 6) m_ShownScore = m_Score;
    float middle = kp_VTR_jscrw / 2;
    if (m_HideHud != 1) {
        p_SetSize(2, 2);
        p_SetCol(100, 255, 100, 0.8f);
        p_Text(middle, 28, p_rstr(m_ShownScore, 8, String("0")), 1, 1, 0);
    }
    p_SetSize(1, 1);
    p_SetCol(255, 255, 100, 0.8f);
    p_Text(middle, 10, ChaseLine(*this), 1, 1, 0);
    DrawLives(*this);
    p_ResetDraw();
    return 0;
}

// In play the sequence counts up to the return to the menu; over the menu
// the overlay fades out.
int c_MyApp::p_GameOver() {
    if (m_GameOverTime > 0) DrawOverlay(*this);
    if (m_GameMode == kPlayMode) {
        m_GameOverTime += 1;
        if (m_GameOverTime < kGameOverLength) return 0;
        m_GameMode = kReturnToMenuMode;
        if (kp_VTR_HasMusicStream == 1) {
            m_GameOverTime = 75;
            p_StopTune();
        } else {
            m_GameOverTime = 73;
        }
    } else if (m_GameMode < kPlayMode) {
        m_GameOverTime = std::max(0, m_GameOverTime - 2);
    }
    return 0;
}
