#include "framework/input/input_device.h"

#include "host/kp_game.h"

namespace {

constexpr int kKeys = 512;
constexpr int kHitQueueSize = 33;
constexpr int kCharQueueSize = 32;
constexpr int kTouches = 32;
constexpr int kPads = 4;
constexpr int kPadButtons = 32;
constexpr int kMouseLeft = 1;
constexpr int kFirstTouch = 384;
constexpr int kFirstPadKey = 256;

bool IsKeyCode(int key) { return key >= 1 && key < kKeys; }

// The left mouse button and the first touch are one and the same.
int MirrorOf(int key) {
    if (key == kMouseLeft) return kFirstTouch;
    if (key == kFirstTouch) return kMouseLeft;
    return 0;
}

}  // namespace

c_JoyState* c_JoyState::m_new() {
    gc_assign(m_stickX, Array<float>(2));
    gc_assign(m_stickY, Array<float>(2));
    gc_assign(m_trigger, Array<float>(2));
    gc_assign(m_buttons, Array<bool>(kPadButtons));
    return this;
}

void c_JoyState::mark() {
    gc_mark(m_stickX);
    gc_mark(m_stickY);
    gc_mark(m_trigger);
    gc_mark(m_buttons);
}

c_InputDevice* c_InputDevice::m_new() {
    gc_assign(m_pads, Array<c_JoyState*>(kPads));
    for (int unit = 0; unit < kPads; ++unit) gc_assign(m_pads[unit], (new c_JoyState)->m_new());
    gc_assign(m_keyState, Array<bool>(kKeys));
    gc_assign(m_releaseDue, Array<bool>(kKeys));
    gc_assign(m_hitQueue, Array<int>(kHitQueueSize));
    gc_assign(m_hitCount, Array<int>(kKeys));
    gc_assign(m_charQueue, Array<int>(kCharQueueSize));
    gc_assign(m_touchX, Array<float>(kTouches));
    gc_assign(m_touchY, Array<float>(kTouches));
    return this;
}

void c_InputDevice::mark() {
    gc_mark(m_pads);
    gc_mark(m_keyState);
    gc_mark(m_releaseDue);
    gc_mark(m_hitQueue);
    gc_mark(m_hitCount);
    gc_mark(m_charQueue);
    gc_mark(m_touchX);
    gc_mark(m_touchY);
}

void c_InputDevice::CountHit(int key) {
    if (m_hitQueueLength == kHitQueueSize) return;
    m_hitCount[key] += 1;
    m_hitQueue[m_hitQueueLength++] = key;
}

// A key held down changes nothing, so the host's key repeat is no hit; one
// let go and pressed again before the update hits again.
bool c_InputDevice::IsHeld(int key) { return m_keyState[key] && !m_releaseDue[key]; }

void c_InputDevice::PressKey(int key) {
    if (IsHeld(key)) return;
    for (int code : {key, MirrorOf(key)}) {
        if (code == 0 || IsHeld(code)) continue;
        m_keyState[code] = true;
        m_releaseDue[code] = false;
        CountHit(code);
    }
}

// Games read most keys as held, once an update: a tap over before the next
// update (a quick one, or any during a long frame) still reads down through
// that update, or the game would never see it.
void c_InputDevice::ReleaseKey(int key) {
    if (!m_keyState[key]) return;
    for (int code : {key, MirrorOf(key)}) {
        if (code == 0 || !m_keyState[code]) continue;
        if (m_hitCount[code] > 0) {
            m_releaseDue[code] = true;
        } else {
            m_keyState[code] = false;
        }
    }
}

int c_InputDevice::p_KeyEvent(int event, int key) {
    if (event != kKeyChar && !IsKeyCode(key)) return 0;
    if (event == kKeyDown) {
        PressKey(key);
    } else if (event == kKeyUp) {
        ReleaseKey(key);
    } else if (event == kKeyChar && m_charWrite < kCharQueueSize) {
        m_charQueue[m_charWrite++] = key;
    }
    return 0;
}

void c_InputDevice::SetMousePosition(float x, float y) {
    m_mouseX = x;
    m_mouseY = y;
    m_touchX[0] = x;
    m_touchY[0] = y;
}

void c_InputDevice::SetTouchPosition(int index, float x, float y) {
    if (index < 0 || index >= kTouches) return;
    m_touchX[index] = x;
    m_touchY[index] = y;
    if (index != 0) return;
    m_mouseX = x;
    m_mouseY = y;
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    if (event == kMouseDown) {
        p_KeyEvent(kKeyDown, button + 1);
        SetMousePosition(x, y);
    } else if (event == kMouseUp) {
        p_KeyEvent(kKeyUp, button + 1);
    } else if (event == kMouseMove) {
        SetMousePosition(x, y);
    }
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int index, float x, float y) {
    if (event == kTouchDown) {
        p_KeyEvent(kKeyDown, kFirstTouch + index);
        SetTouchPosition(index, x, y);
    } else if (event == kTouchUp) {
        p_KeyEvent(kKeyUp, kFirstTouch + index);
    } else if (event == kTouchMove) {
        SetTouchPosition(index, x, y);
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event != kAcceleration) return 0;
    m_accelX = x;
    m_accelY = y;
    m_accelZ = z;
    return 0;
}

int c_InputDevice::p_BeginUpdate() {
    for (int unit = 0; unit < kPads; ++unit) {
        c_JoyState* pad = m_pads[unit];
        if (!KpGame::_game->PollJoystick(unit, pad->m_stickX, pad->m_stickY, pad->m_trigger, pad->m_buttons)) break;
        for (int button = 0; button < kPadButtons; ++button) {
            int key = kFirstPadKey + unit * kPadButtons + button;
            if (!pad->m_buttons[button]) {
                m_keyState[key] = false;
            } else if (!m_keyState[key]) {
                m_keyState[key] = true;
                CountHit(key);
            }
        }
    }
    return 0;
}

void c_InputDevice::ReleaseKeysLetGo() {
    for (int i = 0; i < m_hitQueueLength; ++i) {
        int key = m_hitQueue[i];
        if (!m_releaseDue[key]) continue;
        m_releaseDue[key] = false;
        m_keyState[key] = false;
    }
}

// The focus goes with a suspension, and the window system lets go of every
// key then: a key let go before the game saw it is up when the game is
// back, not pressed on whatever the game shows by then.
int c_InputDevice::p_Suspend() {
    ReleaseKeysLetGo();
    return 0;
}

int c_InputDevice::p_EndUpdate() {
    ReleaseKeysLetGo();
    for (int i = 0; i < m_hitQueueLength; ++i) m_hitCount[m_hitQueue[i]] = 0;
    m_hitQueueLength = 0;
    m_charRead = 0;
    m_charWrite = 0;
    return 0;
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    KpGame::_game->SetKeyboardEnabled(enabled);
    return 0;
}

int c_InputDevice::p_GetChar() {
    if (m_charRead == m_charWrite) return 0;
    return m_charQueue[m_charRead++];
}

int c_InputDevice::p_KeyHit(int key) { return IsKeyCode(key) ? m_hitCount[key] : 0; }

bool c_InputDevice::p_KeyDown(int key) { return IsKeyCode(key) && m_keyState[key]; }

float c_InputDevice::p_MouseX() { return m_mouseX; }

float c_InputDevice::p_MouseY() { return m_mouseY; }

float c_InputDevice::p_TouchX(int index) { return index >= 0 && index < kTouches ? m_touchX[index] : 0; }

float c_InputDevice::p_TouchY(int index) { return index >= 0 && index < kTouches ? m_touchY[index] : 0; }

float c_InputDevice::p_JoyX(int index, int unit) { return m_pads[unit]->m_stickX[index]; }

float c_InputDevice::p_JoyY(int index, int unit) { return m_pads[unit]->m_stickY[index]; }

float c_InputDevice::p_AccelX() { return m_accelX; }

float c_InputDevice::p_AccelY() { return m_accelY; }
