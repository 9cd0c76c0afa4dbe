#include "framework/app/app.h"

#include "runtime/errors.h"

c_App* kp_app__app;
c_GameDelegate* kp_app__delegate;
KpGame* kp_app__game;
int kp_app__updateRate;

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

void c_GameDelegate::StartGame() { kp_app__app->p_OnCreate(); }

void c_GameDelegate::SuspendGame() { kp_app__app->p_OnSuspend(); }

void c_GameDelegate::ResumeGame() { kp_app__app->p_OnResume(); }

void c_GameDelegate::UpdateGame() { kp_app__app->p_OnUpdate(); }

void c_GameDelegate::RenderGame() { kp_app__app->p_OnRender(); }

void c_GameDelegate::KeyEvent(int event, int data) {
    if (event != kKeyDown) return;
    if (data == kBackKey) kp_app__app->p_OnBack();
    if (data == kCloseKey) kp_app__app->p_OnClose();
}

void kp_app_init() {
    kp_app__app = nullptr;
    kp_app__delegate = nullptr;
    kp_app__game = KpGame::_game;
    kp_app__updateRate = 0;
}

void kp_app_mark() {
    gc_mark(kp_app__app);
    gc_mark(kp_app__delegate);
}

int kp_app_SetUpdateRate(int hertz) {
    kp_app__updateRate = hertz;
    kp_app__game->SetUpdateRate(hertz);
    return 0;
}

int kp_app_Millisecs() { return kp_app__game->Millisecs(); }

int kp_app_EndApp() { kpError(String()); }
