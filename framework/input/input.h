#pragma once

#include "framework/input/input_device.h"

extern c_InputDevice* kp_input_device;

void kp_input_init();
int kp_input_SetInputDevice(c_InputDevice* device);
int kp_input_EnableKeyboard();
int kp_input_DisableKeyboard();
int kp_input_KeyHit(int key);
bool kp_input_KeyDown(int key);
int kp_input_GetChar();
float kp_input_MouseX();
float kp_input_MouseY();
int kp_input_MouseHit(int button);
bool kp_input_MouseDown(int button);
bool kp_input_TouchDown(int index);
float kp_input_TouchX(int index);
float kp_input_TouchY(int index);
int kp_input_JoyHit(int button, int unit);
bool kp_input_JoyDown(int button, int unit);
float kp_input_JoyX(int index, int unit);
float kp_input_JoyY(int index, int unit);
float kp_input_AccelX();
float kp_input_AccelY();
