#include "host/kp_game.h"

#include <cstdlib>
#include <ctime>

#include "runtime/errors.h"

KpGame* KpGame::_game;

KpGame::KpGame()
    : delegate(nullptr), keyboardEnabled(false), updateRate(0), started(false), suspended(false) {
    _game = this;
}

void KpGame::SetDelegate(KpGameDelegate* newDelegate) { delegate = newDelegate; }
KpGameDelegate* KpGame::Delegate() { return delegate; }
void KpGame::SetKeyboardEnabled(bool enabled) { keyboardEnabled = enabled; }
bool KpGame::KeyboardEnabled() { return keyboardEnabled; }
void KpGame::SetUpdateRate(int hertz) { updateRate = hertz; }
int KpGame::UpdateRate() { return updateRate; }
bool KpGame::Started() { return started; }
bool KpGame::Suspended() { return suspended; }
int KpGame::Millisecs() { return 0; }

void KpGame::GetDate(Array<int> date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    int fields[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, 0};
    int count = date.Length() < 7 ? date.Length() : 7;
    for (int i = 0; i < count; ++i) date[i] = fields[i];
}

int KpGame::SaveState(String) { return -1; }
String KpGame::LoadState() { return String(); }
bool KpGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void KpGame::OpenUrl(String) {}
void KpGame::SetMouseVisible(bool) {}
int KpGame::GetDeviceWidth() { return 0; }
int KpGame::GetDeviceHeight() { return 0; }
void KpGame::SetDeviceWindow(int, int, int) {}
Array<KpDisplayMode*> KpGame::GetDisplayModes() { return Array<KpDisplayMode*>(); }
KpDisplayMode* KpGame::GetDesktopMode() { return nullptr; }
void KpGame::SetSwapInterval(int) {}
String KpGame::PathToFilePath(String path) { return path; }
unsigned char* KpGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
unsigned char* KpGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void KpGame::Die(ThrowableObject*) {
    kpPrint(String("Brisko Runtime Error : Uncaught Brisko Exception"));
    std::exit(-1);
}

void KpGame::gc_collect() {
    gc_mark_at_once(delegate);
    ::gc_collect();
}

template <class Call> void KpGame::CallDelegate(Call call) {
    try {
        call();
    } catch (ThrowableObject* exception) {
        Die(exception);
    }
    gc_collect();
}

void KpGame::StartGame() {
    if (started) return;
    started = true;
    CallDelegate([this] { delegate->StartGame(); });
}

void KpGame::SuspendGame() {
    if (!started || suspended) return;
    suspended = true;
    CallDelegate([this] { delegate->SuspendGame(); });
}

void KpGame::ResumeGame() {
    if (!started || !suspended) return;
    suspended = false;
    CallDelegate([this] { delegate->ResumeGame(); });
}

void KpGame::UpdateGame() {
    if (!started || suspended) return;
    CallDelegate([this] { delegate->UpdateGame(); });
}

void KpGame::RenderGame() {
    if (!started) return;
    CallDelegate([this] { delegate->RenderGame(); });
}

void KpGame::KeyEvent(int event, int data) {
    if (!started) return;
    CallDelegate([=, this] { delegate->KeyEvent(event, data); });
}

void KpGame::MouseEvent(int event, int data, float x, float y) {
    if (!started) return;
    CallDelegate([=, this] { delegate->MouseEvent(event, data, x, y); });
}

void KpGame::TouchEvent(int event, int data, float x, float y) {
    if (!started) return;
    CallDelegate([=, this] { delegate->TouchEvent(event, data, x, y); });
}

void KpGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!started) return;
    CallDelegate([=, this] { delegate->MotionEvent(event, data, x, y, z); });
}

void KpGame::DiscardGraphics() {
    if (!started) return;
    CallDelegate([this] { delegate->DiscardGraphics(); });
}
