#pragma once

#include "framework/app/display_mode.h"
#include "host/kp_game.h"

class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

// The game's base class: the lifecycle methods the host's calls arrive at.
class c_App : public Object {
public:
    c_App* m_new();
    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnLoading() { return 0; }
    int p_OnClose();
    int p_OnBack();
};

// What the host calls: owns the renderer, the audio device and the input
// device, and passes the lifecycle and the input on.
class c_GameDelegate : public KpGameDelegate {
public:
    gxtkGraphics* m_graphicsDevice = nullptr;
    gxtkAudio* m_audioDevice = nullptr;
    c_InputDevice* m_inputDevice = nullptr;

    c_GameDelegate* m_new() { return this; }
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    void mark() override;
};

// An event record of the framework; this program creates none.
class c_KpGameEvent : public Object {};

extern c_App* kp_app__app;
extern c_GameDelegate* kp_app__delegate;
extern KpGame* kp_app__game;
extern int kp_app__updateRate;
extern int kp_app__devWidth;
extern int kp_app__devHeight;
extern Array<c_DisplayMode*> kp_app__displayModes;
extern c_DisplayMode* kp_app__desktopMode;

void kp_app_init();
int kp_app_SetUpdateRate(int hertz);
int kp_app_Millisecs();
int kp_app_DeviceWidth();
int kp_app_DeviceHeight();
int kp_app_ValidateDeviceWindow(bool notify);
String kp_app_LoadState();
int kp_app_SaveState(String state);
[[noreturn]] int kp_app_EndApp();
int kp_app_EnumDisplayModes();
