#include "framework/app/app.h"

#include "framework/audio/audio.h"
#include "framework/graphics/graphics.h"
#include "framework/input/input.h"
#include "runtime/errors.h"

c_App* kp_app__app;
c_GameDelegate* kp_app__delegate;
KpGame* kp_app__game;
int kp_app__updateRate;
int kp_app__devWidth;
int kp_app__devHeight;
Array<c_DisplayMode*> kp_app__displayModes;
c_DisplayMode* kp_app__desktopMode;

namespace {

constexpr int kBackKey = 0x1A0;
constexpr int kCloseKey = 0x1B0;

}  // namespace

c_App* c_App::m_new() {
    if (kp_app__app) kpError(String("App has already been created"));
    gc_assign(kp_app__app, this);
    gc_assign(kp_app__delegate, (new c_GameDelegate)->m_new());
    kp_app__game->SetDelegate(kp_app__delegate);
    return this;
}

int c_App::p_OnClose() { kp_app_EndApp(); }

int c_App::p_OnBack() { kp_app_EndApp(); }

void c_GameDelegate::StartGame() {
    gc_assign(m_graphicsDevice, new gxtkGraphics);
    kp_graphics_SetGraphicsDevice(m_graphicsDevice);
    kp_graphics_SetFont(nullptr, 32);
    gc_assign(m_audioDevice, new gxtkAudio);
    kp_audio_SetAudioDevice(m_audioDevice);
    gc_assign(m_inputDevice, (new c_InputDevice)->m_new());
    kp_input_SetInputDevice(m_inputDevice);
    kp_app_ValidateDeviceWindow(false);
    kp_app_EnumDisplayModes();
    kp_app__app->p_OnCreate();
}

// The app hears of a suspension before the sound stops, and of a resumption
// after it is back.
void c_GameDelegate::SuspendGame() {
    m_inputDevice->p_Suspend();
    kp_app__app->p_OnSuspend();
    m_audioDevice->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m_audioDevice->Resume();
    kp_app__app->p_OnResume();
}

// The tune's newly decoded pieces are queued first, so the game sees the
// music as it is.
void c_GameDelegate::UpdateGame() {
    kp_app_ValidateDeviceWindow(true);
    m_audioDevice->UpdateMusic();
    m_inputDevice->p_BeginUpdate();
    kp_app__app->p_OnUpdate();
    m_inputDevice->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    kp_app_ValidateDeviceWindow(true);
    m_graphicsDevice->BeginRender();
    kp_graphics_BeginRender();
    kp_app__app->p_OnRender();
    kp_graphics_EndRender();
    m_graphicsDevice->EndRender();
}

// The close and back keys end the program, even when already down.
void c_GameDelegate::KeyEvent(int event, int data) {
    m_inputDevice->p_KeyEvent(event, data);
    if (event != kKeyDown) return;
    if (data == kBackKey) kp_app__app->p_OnBack();
    if (data == kCloseKey) kp_app__app->p_OnClose();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { m_inputDevice->p_MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { m_inputDevice->p_TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m_inputDevice->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphicsDevice->DiscardGraphics(); }

void c_GameDelegate::mark() {
    KpGameDelegate::mark();
    gc_mark(m_graphicsDevice);
    gc_mark(m_audioDevice);
    gc_mark(m_inputDevice);
}

void kp_app_init() {
    kp_app__app = nullptr;
    kp_app__delegate = nullptr;
    kp_app__game = KpGame::_game;
    kp_app__updateRate = 0;
    kp_app__devWidth = 0;
    kp_app__devHeight = 0;
    kp_app__displayModes = Array<c_DisplayMode*>();
    kp_app__desktopMode = nullptr;
}

int kp_app_SetUpdateRate(int hertz) {
    kp_app__updateRate = hertz;
    kp_app__game->SetUpdateRate(hertz);
    return 0;
}

int kp_app_Millisecs() { return kp_app__game->Millisecs(); }

int kp_app_DeviceWidth() { return kp_app__devWidth; }

int kp_app_DeviceHeight() { return kp_app__devHeight; }

// The app sees a new window size from the next update or render on.
int kp_app_ValidateDeviceWindow(bool) {
    kp_app__devWidth = kp_app__game->GetDeviceWidth();
    kp_app__devHeight = kp_app__game->GetDeviceHeight();
    return 0;
}

String kp_app_LoadState() { return kp_app__game->LoadState(); }

int kp_app_SaveState(String state) { return kp_app__game->SaveState(state); }

int kp_app_EndApp() { kpError(String()); }
