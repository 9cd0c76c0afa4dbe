#include <algorithm>
#include <cmath>

#include "framework/asyncevent/async_event.h"
#include "framework/input/input.h"
#include "game/game_math.h"
#include "game/my_app.h"
#include "game/player_record.h"
#include "runtime/errors.h"

namespace {

constexpr float kNotGiven = -3717;
constexpr int kFingers = 10;
constexpr int kBackKey = 416;
constexpr int kOuyaMenuButton = 270;
constexpr int kCloseKey = 432;
constexpr int kF1 = 112;
constexpr int kF2 = 113;
constexpr int kF4 = 115;
constexpr int kF11 = 122;
constexpr int kLatchKeys[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

// Smoothed rate from the milliseconds between two calls.
void MeasureRate(int& lastMs, int& fps, int& fpsAvg) {
    int now = kp_app_Millisecs();
    if (now > lastMs) fps = 1000 / (now - lastMs);
    fpsAvg = (fps + 9 * fpsAvg) / 10;
    lastMs = now;
}

void SetUpdateRate(int hertz) { kp_app_SetUpdateRate(hertz); }

}  // namespace

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    gc_assign(m_DrawList, Array<float>(37500));
    gc_assign(m_Images, Array<c_Image*>(100));
    gc_assign(m_ImageSizes, Array<int>(300));
    gc_assign(m_TouchDown, Array<int>(kFingers));
    gc_assign(m_TouchX, Array<int>(kFingers));
    gc_assign(m_TouchY, Array<int>(kFingers));
    gc_assign(m_VKeys, Array<int>(20));
    gc_assign(m_Settings, Array<int>(25));
    m_Settings[5] = 1;
    gc_assign(m_Badges, Array<bool>(256));
    gc_assign(m_HighScores, Array<int>(150));
    gc_assign(m_BadgeShow, Array<int>(15));
    gc_assign(m_BadgeShowTime, Array<int>(15));
    gc_assign(m_Sounds, Array<c_Sound*>(100));
    gc_assign(m_SfxVoice, Array<int>(33));
    gc_assign(m_Grid, Array<float>(5000000));
    gc_assign(m_Player, Array<float>(512));
    gc_assign(m_Objects, Array<float>(5100));
    gc_assign(m_Particles, Array<float>(5100));
    gc_assign(m_Stars, Array<float>(5100));
    gc_assign(m_OrbitTrail, Array<float>(2 * 102));
    m_PlayerName = String("N/A");
    m_ParticleTop = 250;
    m_StarCount = 100;
    m_GameMode = 1;
    m_PauseState = -1;
    m_PauseSlide = -64;
    m_Difficulty = 2;
    m_MenuCursor = 1;
    m_MenuScroll = -32;
    m_MenuIntro = -32;
    m_MenuFocus = 1;
    m_OrbitRadius = 25.0f;
    m_OrbitSpeed = 25.0f;
    return this;
}

void c_MyApp::mark() {
    c_App::mark();
    gc_mark(m_DrawList);
    gc_mark(m_Images);
    gc_mark(m_ImageSizes);
    gc_mark(m_TouchDown);
    gc_mark(m_TouchX);
    gc_mark(m_TouchY);
    gc_mark(m_VKeys);
    gc_mark(m_Settings);
    gc_mark(m_Badges);
    gc_mark(m_HighScores);
    gc_mark(m_BadgeShow);
    gc_mark(m_BadgeShowTime);
    gc_mark(m_Sounds);
    gc_mark(m_SfxVoice);
    gc_mark(m_Grid);
    gc_mark(m_Player);
    gc_mark(m_Objects);
    gc_mark(m_Particles);
    gc_mark(m_Stars);
    gc_mark(m_OrbitTrail);
    gc_mark(m_Request);
}

int c_MyApp::p_OnCreate() {
    if (kp_VTR_isOuya == 1) {
        m_PromptStyle = 1;
        kp_VTR_overscan = 64;
    }
    m_Fullscreen = 0;
    m_JinglePlayed = 0;
    m_MenuCursor = 1;
    m_MenuScroll = -32;
    if (kp_VTR_J_On_Allow == 1) {
        p_GetURL(String("http://") + kp_VTR_GreetingHost + String("/housecall.php"),
                 String("hello=1&gameID=") + String(kp_VTR_GameNum));
    }
    m_GameMode = 1;
    SetUpdateRate(60);
    m_LastDevWidth = kp_app_DeviceWidth();
    m_LastDevHeight = kp_app_DeviceHeight();
    m_AccelZeroX = 0;
    m_AccelZeroY = 0;
    p_Reload();
    m_Difficulty = 2;
    m_MenuIntro = -32;
    m_Paused = 0;
    m_PauseState = -1;
    m_PauseSlide = -64;
    for (int i = 0; i < 15; ++i) {
        m_BadgeShow[i] = 0;
        m_BadgeShowTime[i] = 0;
    }
    for (int i = 0; i < 128; ++i) m_Badges[i] = false;
    for (int i = 0; i < 19; ++i) m_VKeys[i] = 0;
    for (int i = 0; i < 25; ++i) m_Settings[i] = 0;
    m_Settings[5] = 1;
    for (int i = 0; i <= 30; ++i) m_HighScores[i] = 0;
    p_Load();
    for (int i = 0; i <= 32; ++i) m_SfxVoice[i] = i;
    return 0;
}

int c_MyApp::p_OnUpdate() {
    ReadBackAndFunctionKeys();
    kp_asyncevent_UpdateAsyncEvents();
    if (kp_VTR_HasMusicStream == 1 && m_TunePlaying == 1) {
        if (m_Paused == 1) {
            kp_audio_device->PauseMusic();
        } else {
            kp_audio_device->ResumeMusic();
        }
    }
    MeasureRate(m_UpdateLastMs, m_UpdateFps, m_UpdateFpsAvg);
    ReadPointer();
    ReadFingers();
    LatchKeys();
    if (m_LoaderStep == 0) DispatchMode();
    if (m_LoaderStep > 0) p_Loader();
    if (kp_VTR_iCadeControls == 1) TranslateICade();
    for (int i = 0; i <= 18; ++i) {
        if (m_VKeys[i] == 1) m_VKeys[i] = 0;
    }
    TouchControls();
    if (kp_VTR_DebugMode == 1 && m_GameMode != 5) DrawDiagnostics();
    p_ShowBadges();
    return 0;
}

void c_MyApp::ReadBackAndFunctionKeys() {
    if (kp_VTR_isOuya == 1) {
        m_VKeys[19] = kp_input_KeyHit(kOuyaMenuButton) ? 1 : 0;
    } else {
        m_VKeys[19] = kp_input_KeyHit(kBackKey);
    }
    if (kp_input_KeyHit(kF1)) kp_VTR_DebugMode = 1 - kp_VTR_DebugMode;
    if (kp_input_KeyHit(kF2)) m_HideHud = 1 - m_HideHud;
    if (kp_input_KeyHit(kF11)) p_FullscreenFlip();
    if (kp_input_KeyHit(kF4) || kp_input_KeyHit(kCloseKey)) kpError(String());
}

// The pointer is read against the picture last shown.
float c_MyApp::VirtualX(float deviceX) { return (deviceX - m_ScreenLeft) / m_ScaleX; }

float c_MyApp::VirtualY(float deviceY) { return (deviceY - m_ScreenTop) / m_ScaleY; }

void c_MyApp::ReadPointer() {
    m_PrevMouseX = m_MouseX;
    m_PrevMouseY = m_MouseY;
    m_MouseX = Trunc(VirtualX(kp_input_MouseX()));
    m_MouseY = Trunc(VirtualY(kp_input_MouseY()));
    bool down = kp_input_MouseDown(0);
    // A press starts where it is, not where the pointer was.
    if (down && m_PrevMouseDown == 0) {
        m_PrevMouseX = m_MouseX;
        m_PrevMouseY = m_MouseY;
    }
    m_Pressing = down ? 1 : 0;
    m_MouseHits = kp_input_MouseHit(0);
}

void c_MyApp::ReadFingers() {
    for (int finger = 0; finger < kFingers; ++finger) {
        m_TouchDown[finger] = 0;
        m_TouchX[finger] = static_cast<int>(kNotGiven);
        m_TouchY[finger] = static_cast<int>(kNotGiven);
        if (kp_VTR_isOuya == 1 || !kp_input_TouchDown(finger)) continue;
        m_TouchDown[finger] = 1;
        m_TouchX[finger] = Trunc(VirtualX(kp_input_TouchX(finger)));
        m_TouchY[finger] = Trunc(VirtualY(kp_input_TouchY(finger)));
        m_Pressing = 1;
    }
    m_PrevMouseDown = kp_input_MouseDown(0) ? 1 : 0;
    if (m_Pressing == 0) m_TouchUsed = 0;
    if (m_TouchDelay > 0) --m_TouchDelay;
    if (kp_VTR_isOuya == 1) {
        m_PrevMouseDown = 0;
        m_Pressing = 0;
        m_TouchUsed = 0;
        m_TouchDelay = 0;
        m_PromptStyle = 1;
    }
}

bool c_MyApp::AnyPlayerHolds(int key) {
    for (int player = 0; player < 4; ++player) {
        if (p_PlayKey(key, 1, player)) return true;
    }
    return false;
}

// Held keys become one-shot presses: the latch opens only on an update with
// no logical key down.
void c_MyApp::LatchKeys() {
    bool anyDown = false;
    for (int key : kLatchKeys) anyDown = anyDown || AnyPlayerHolds(key);
    if (!anyDown) m_KeyUsed = 0;
    bool panelOpen = m_MenuPanelA != 0 || m_MenuPanelB != 0 || m_OptionsOpen != 0;
    if (m_KeyUsed == 0 && m_TouchUsed == 0 && AnyPlayerHolds(99) && m_GameMode == 1 && panelOpen) {
        m_MenuPanelA = 0;
        m_MenuPanelB = 0;
        m_KeyUsed = 1;
        m_TouchUsed = 1;
    }
    if (m_OptionsOpen == 1) {
        m_KeyUsed = 1;
        m_TouchUsed = 1;
    }
}

void c_MyApp::RunMode() {
    switch (m_GameMode) {
        case 1:
            p_Menu();
            break;
        case 2:
            p_LoadMenu();
            p_PlaySFX(96, 1.0f, 1.0f, 0);
            m_GameMode = 1;
            p_Menu();
            break;
        case 4:
            p_OuyaQuit();
            break;
        case 5:
            p_WaitStart(0);
            break;
        case 10:
            if (m_Paused == 0) p_Game();
            p_InGame();
            break;
        case 11:
            p_LoadGame();
            break;
        default:
            break;
    }
}

void c_MyApp::DispatchMode() {
    RunMode();
    if (m_GameMode == 1 || m_GameMode == 2 || (m_GameMode == 10 && m_GameOverTimer > 0)) p_GameOver();
    if (m_OptionsOpen == 1 || m_OptionsTimer > 0) {
        p_OptionBox();
        if (m_OptionsOpen == 1 && m_OptionsTimer < 30) ++m_OptionsTimer;
        if (m_OptionsOpen != 1 && m_OptionsTimer > 0) --m_OptionsTimer;
    }
    EasePanel();
}

void c_MyApp::EasePanel() {
    if (m_MenuPanelB == 0) {
        m_PanelSlide -= m_PanelSlide / 8;
        if (m_PanelSlide < 8) m_PanelSlide = 0;
        return;
    }
    float target = kp_VTR_jscrw - 140;
    if (m_PanelSlide < target) m_PanelSlide += (target - m_PanelSlide) / 8;
    if (std::fabs(target - m_PanelSlide) < 8) m_PanelSlide = target;
}

// The on-screen pad and the tilt sensor, when this build has them; with an
// iCade attached neither is used and the tilt reads 0.
void c_MyApp::TouchControls() {
    bool iCade = kp_VTR_iCadeControls == 1;
    if (kp_VTR_OnScreenControls == 1 && m_GameMode > 5 && !iCade) OnScreenPad();
    if (iCade) {
        m_TiltX = m_TiltY = m_TiltShownX = m_TiltShownY = 0;
    } else if (kp_VTR_AccelerometerControls == 1) {
        Tilt();
    }
}

void c_MyApp::DrawDiagnostics() {
    p_ResetDraw();
    bool tiltShown = kp_VTR_AccelerometerControls == 1 && kp_VTR_iCadeControls == 0;
    float y = tiltShown ? kp_VTR_jscrh * 0.5f : kp_VTR_jscrh - 16;
    String line = String(m_RenderFpsAvg) + String(":") + String(m_ScaleX) + String(",") + String(m_ScaleY) +
                  String(" - ") + String(m_DrawCount / 15);
    p_Text(16, y, line, 0, 1, 0);
}

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_MenuIntro = -32;
    bool pauseKey = AnyPlayerHolds(99) || (kp_VTR_isOuya == 1 && AnyPlayerHolds(13));
    if (pauseKey && m_Paused == 0 && m_KeyUsed == 0) {
        m_KeyUsed = 1;
        OpenPause();
    }
    if (m_HideHud == 0) PauseIcon();
    if (m_Paused == 1) p_PauseMenu();
    return 0;
}

void c_MyApp::OpenPause() {
    m_Paused = 1;
    m_PauseState = 1;
    m_PauseCursor = 0;
    p_PlaySFX(98, 1.0f, 0.5f, 0);
}

// The pause icon in the corner; touching it pauses the game.
void c_MyApp::PauseIcon() {
    if (m_PromptStyle != 2) p_Alpha(0.2f);
    p_DrawImg(97, 16, 16, 0);
    float halfW = m_ImageSizes[97 * 3] * m_ImageScale * m_DrawScaleX / 2;
    float halfH = m_ImageSizes[97 * 3 + 1] * m_ImageScale * m_DrawScaleY / 2;
    m_ButtonHit = 0;
    for (int finger = 0; m_Pressing > 0 && finger < kFingers; ++finger) {
        float dx = std::fabs(static_cast<float>(m_TouchX[finger]) - 16);
        float dy = std::fabs(static_cast<float>(m_TouchY[finger]) - 16);
        if (m_TouchDown[finger] && dx < halfW && dy < halfH) m_ButtonHit = 1;
    }
    if (m_ButtonHit == 1 && m_Paused == 0) {
        m_TouchUsed = 1;
        OpenPause();
    }
    p_Alpha(1);
}

int c_MyApp::p_LoadGame() {
    m_GameMode = 10;
    m_TuneStarted = 0;
    p_FlushGame();
    SizeGrid();
    StartPlayer();
    p_NewLay();
    return 0;
}

void c_MyApp::StartPlayer() {
    const float speeds[] = {0.4f, 0.65f, 0.9f};
    m_Player[PlayerSlot::kX] = static_cast<float>(m_GridW / 2);
    m_Player[PlayerSlot::kY] = static_cast<float>(m_GridH - 1);
    m_Player[PlayerSlot::kCrumbleRate] = 1.0f;
    m_Player[PlayerSlot::kSpeed] = m_Difficulty >= 1 && m_Difficulty <= 3 ? speeds[m_Difficulty - 1] : 0;
    m_Player[PlayerSlot::kLives] = 2.0f;
}

int c_MyApp::p_FlushGame() {
    p_ResetObj();
    p_ResetGrid();
    p_ResetStars(100);
    m_ParticleTop = 250;
    for (int slot = 0; slot <= 250; ++slot) m_Particles[slot * 10] = 0;
    p_ResetPlayers();
    m_Paused = 0;
    m_Score = 0;
    m_GameOverTimer = 0;
    m_GameOverTime = 0;
    m_QuitChoice = 0;
    return 0;
}

int c_MyApp::p_ResetObj() {
    std::fill_n(m_Objects.Data(), m_Objects.Length(), 0.0f);
    return 0;
}

int c_MyApp::p_ResetPlayers() {
    std::fill_n(m_Player.Data(), 500, 0.0f);
    return 0;
}

int c_MyApp::p_OnSuspend() {
    kp_input_DisableKeyboard();
    kp_VTR_iCadeControls = 0;
    ClearVirtualKeys();
    PauseIfPlaying();
    SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    PauseIfPlaying();
    SetUpdateRate(60);
    kp_input_DisableKeyboard();
    kp_VTR_iCadeControls = 0;
    ClearVirtualKeys();
    return 0;
}

void c_MyApp::ClearVirtualKeys() {
    for (int i = 0; i <= 18; ++i) m_VKeys[i] = 0;
}

// A game interrupted by a suspension always comes back paused.
void c_MyApp::PauseIfPlaying() {
    if (m_GameMode >= 10) {
        m_Paused = 1;
        m_PauseState = 1;
        m_PauseSlide = Trunc(kp_VTR_jscrh * 0.5f);
    } else {
        m_Paused = 0;
        m_PauseState = 0;
        m_PauseSlide = 0;
    }
}

int c_MyApp::p_OnRender() {
    MeasureRate(m_RenderLastMs, m_RenderFps, m_RenderFpsAvg);
    float width = static_cast<float>(kp_app_DeviceWidth());
    float height = static_cast<float>(kp_app_DeviceHeight());
    kp_graphics_SetColor(m_ClsRed, m_ClsGreen, m_ClsBlue);
    kp_graphics_SetAlpha(m_ClsAlpha);
    kp_graphics_DrawRect(-1, -1, width + 2, height + 2);
    kp_graphics_SetColor(255, 255, 255);
    kp_graphics_SetAlpha(1);
    if (kp_app_DeviceWidth() != m_LastDevWidth || kp_app_DeviceHeight() != m_LastDevHeight) {
        m_LastDevWidth = kp_app_DeviceWidth();
        m_LastDevHeight = kp_app_DeviceHeight();
        m_LoaderStep = 1;
    }
    FitScreen(width, height);
    if (LevelKept()) ClipToLevel();
    ReplayCommands();
    kp_graphics_SetAlpha(0.5f);
    kp_graphics_SetColor(255, 255, 255);
    return 0;
}

// The 640 x 480 design grows along the window's longer side; a portrait
// device takes the design 1.5 times larger first. The overscan margin
// shrinks the scale but not the virtual size. A device with no area (a
// minimised window) keeps the last fit, which a level may still be laid
// out for.
void c_MyApp::FitScreen(float width, float height) {
    if (width <= 0 || height <= 0) return;
    float factor = height > width ? 1.5f : 1.0f;
    float sx = (width - 2 * kp_VTR_overscan) / (kp_VTR_rawscrw * factor);
    float sy = (height - 2 * kp_VTR_overscan) / (kp_VTR_rawscrh * factor);
    float k;
    if (sx < sy) {
        m_ScaleX = m_ScaleY = sy;
        k = height / (kp_VTR_rawscrh * factor);
        m_TempInt = 1;
    } else {
        m_ScaleX = m_ScaleY = sx;
        k = width / (kp_VTR_rawscrw * factor);
        m_TempInt = 2;
    }
    m_FitW = kp_VTR_jscrw = width / k;
    m_FitH = kp_VTR_jscrh = height / k;
    m_ScreenLeft = kp_VTR_overscan;
    m_ScreenTop = kp_VTR_overscan * height / width;
    if (LevelKept()) KeepLevelOnScreen(width, height);
    m_Landscape = kp_VTR_jscrh <= kp_VTR_jscrw ? 1 : 0;
}

// A running level laid out for another shape of window than the last fit.
bool c_MyApp::LevelKept() { return m_GameMode == 10 && m_LevelW > 0 && (m_LevelW != m_FitW || m_LevelH != m_FitH); }

// A level laid out for another shape of window (full screen, maximised,
// dragged narrow) keeps its virtual screen until it ends: it is scaled
// whole into the window and centred, the rest left in the clear colour, so
// neither wall, the floor nor the player is ever off screen.
void c_MyApp::KeepLevelOnScreen(float width, float height) {
    float roomW = width - 2 * kp_VTR_overscan;
    float roomH = height - 2 * kp_VTR_overscan;
    float scale = std::min(roomW / m_LevelW, roomH / m_LevelH);
    m_ScaleX = m_ScaleY = scale;
    kp_VTR_jscrw = m_LevelW;
    kp_VTR_jscrh = m_LevelH;
    m_ScreenLeft += (roomW - m_LevelW * scale) / 2;
    m_ScreenTop += (roomH - m_LevelH * scale) / 2;
}

// Sprites entering from beyond the walls, streaks and falling cells would
// reach into the bars beside a kept level. Everything the frame draws is laid
// out on the level's screen, so the whole replay keeps to it; each frame
// starts with the scissor open over the whole device.
void c_MyApp::ClipToLevel() {
    float left = std::round(m_ScreenLeft);
    float top = std::round(m_ScreenTop);
    float right = std::round(m_ScreenLeft + m_LevelW * m_ScaleX);
    float bottom = std::round(m_ScreenTop + m_LevelH * m_ScaleY);
    kp_graphics_SetScissor(left, top, right - left, bottom - top);
}

void c_MyApp::ReplayCommands() {
    auto x = [&](float value) { return value * m_ScaleX + m_ScreenLeft; };
    auto y = [&](float value) { return value * m_ScaleY + m_ScreenTop; };
    for (int at = 0; at + 15 <= m_DrawCount; at += 15) {
        const float* c = m_DrawList.Data() + at;
        kp_graphics_SetAlpha(c[7]);
        kp_graphics_SetColor(c[10], c[11], c[12]);
        kp_graphics_SetBlend(c[13] == 3.0f ? 1 : 0);
        int kind = Trunc(c[0]);
        if (c[0] == -3717) {
            kp_graphics_DrawRect(x(c[1]), y(c[2]), c[4] * m_ScaleX, c[5] * m_ScaleY);
        } else if (c[0] == -3716) {
            kp_graphics_DrawEllipse(x(c[1]), y(c[2]), c[4] * m_ScaleX, c[5] * m_ScaleY);
        } else if (c[0] == -3715) {
            kp_graphics_DrawLine(x(c[1]), y(c[2]), x(c[4]), y(c[5]));
        } else if (c[0] == -3714) {
            Array<float> corners(6);
            for (int i = 0; i < 6; i += 2) {
                corners[i] = x(c[1 + i]);
                corners[i + 1] = y(c[2 + i]);
            }
            kp_graphics_DrawPoly(corners);
        } else if (kind >= 0 && kind < m_Images.Length() && m_Images[kind]) {
            kp_graphics_DrawImage2(m_Images[kind], x(c[1]), y(c[2]), c[3], c[4] * m_ImageScale * m_ScaleX,
                                   c[5] * m_ImageScale * m_ScaleY, Trunc(c[6]));
        }
    }
}
