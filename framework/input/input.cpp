#include "framework/input/input.h"

c_InputDevice* kp_input_device;

namespace {

int JoyKey(int button, int unit) { return button | 256 | (unit * 32); }

}  // namespace

void kp_input_init() { kp_input_device = nullptr; }

int kp_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(kp_input_device, device);
    return 0;
}

int kp_input_EnableKeyboard() { return kp_input_device->p_SetKeyboardEnabled(true); }

int kp_input_DisableKeyboard() { return kp_input_device->p_SetKeyboardEnabled(false); }

int kp_input_KeyHit(int key) { return kp_input_device->p_KeyHit(key); }

bool kp_input_KeyDown(int key) { return kp_input_device->p_KeyDown(key); }

int kp_input_GetChar() { return kp_input_device->p_GetChar(); }

float kp_input_MouseX() { return kp_input_device->p_MouseX(); }

float kp_input_MouseY() { return kp_input_device->p_MouseY(); }

int kp_input_MouseHit(int button) { return kp_input_device->p_KeyHit(button + 1); }

bool kp_input_MouseDown(int button) { return kp_input_device->p_KeyDown(button + 1); }

bool kp_input_TouchDown(int index) { return kp_input_device->p_KeyDown(384 + index); }

float kp_input_TouchX(int index) { return kp_input_device->p_TouchX(index); }

float kp_input_TouchY(int index) { return kp_input_device->p_TouchY(index); }

int kp_input_JoyHit(int button, int unit) { return kp_input_device->p_KeyHit(JoyKey(button, unit)); }

bool kp_input_JoyDown(int button, int unit) { return kp_input_device->p_KeyDown(JoyKey(button, unit)); }

float kp_input_JoyX(int index, int unit) { return kp_input_device->p_JoyX(index, unit); }

float kp_input_JoyY(int index, int unit) { return kp_input_device->p_JoyY(index, unit); }

float kp_input_AccelX() { return kp_input_device->p_AccelX(); }

float kp_input_AccelY() { return kp_input_device->p_AccelY(); }
