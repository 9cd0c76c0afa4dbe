#pragma once

#include "host/kp_game.h"

// The game's base class: lifecycle methods the host's calls arrive at.
class c_App : public Object {
public:
    c_App* m_new();
    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnClose();
    int p_OnBack();
};

// What the host calls: passes the app's lifecycle on and ends the program on
// the close and back keys.
class c_GameDelegate : public KpGameDelegate {
public:
    c_GameDelegate* m_new() { return this; }
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
};

extern c_App* kp_app__app;
extern c_GameDelegate* kp_app__delegate;
extern KpGame* kp_app__game;
extern int kp_app__updateRate;

void kp_app_init();
void kp_app_mark();
int kp_app_SetUpdateRate(int hertz);
int kp_app_Millisecs();
[[noreturn]] int kp_app_EndApp();
