#pragma once

#include "runtime/kp_array.h"

// One pad: two sticks with their triggers and 32 buttons, as polled.
class c_JoyState : public Object {
public:
    Array<float> m_stickX;
    Array<float> m_stickY;
    Array<float> m_trigger;
    Array<bool> m_buttons;

    c_JoyState* m_new();
    void mark() override;
};

// Every key, button, touch and pad state of the game, with the hits and
// characters of the current update.
class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m_pads;
    Array<bool> m_keyState;
    // Keys let go before any update saw them down, released as that update
    // ends or as the game is suspended.
    Array<bool> m_releaseDue;
    int m_hitQueueLength = 0;
    Array<int> m_hitQueue;
    Array<int> m_hitCount;
    int m_charRead = 0;
    int m_charWrite = 0;
    Array<int> m_charQueue;
    float m_mouseX = 0;
    float m_mouseY = 0;
    Array<float> m_touchX;
    Array<float> m_touchY;
    float m_accelX = 0;
    float m_accelY = 0;
    float m_accelZ = 0;

    c_InputDevice* m_new();
    void mark() override;

    int p_KeyEvent(int event, int key);
    int p_MouseEvent(int event, int button, float x, float y);
    int p_TouchEvent(int event, int index, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);
    int p_BeginUpdate();
    int p_EndUpdate();
    int p_Suspend();
    int p_SetKeyboardEnabled(bool enabled);
    int p_GetChar();
    int p_KeyHit(int key);
    bool p_KeyDown(int key);
    float p_MouseX();
    float p_MouseY();
    float p_TouchX(int index);
    float p_TouchY(int index);
    float p_JoyX(int index, int unit);
    float p_JoyY(int index, int unit);
    float p_AccelX();
    float p_AccelY();

private:
    bool IsHeld(int key);
    void PressKey(int key);
    void ReleaseKey(int key);
    void CountHit(int key);
    void ReleaseKeysLetGo();
    void SetMousePosition(float x, float y);
    void SetTouchPosition(int index, float x, float y);
};
