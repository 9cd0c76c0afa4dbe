#include <GLFW/glfw3.h>

#include <algorithm>
#include <vector>

#include "host/glfw2.h"

namespace glfw2 {
namespace {

// A joystick as 2.7 reports it: vertical axes count up as positive, and a
// hat is four buttons after the others, in the order left, up, right, down.
struct Reading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

void AddHat(unsigned char hat, std::vector<unsigned char>& buttons) {
    for (unsigned char direction : {GLFW_HAT_LEFT, GLFW_HAT_UP, GLFW_HAT_RIGHT, GLFW_HAT_DOWN}) {
        buttons.push_back((hat & direction) ? PRESS : RELEASE);
    }
}

// Known game pads read through GLFW's mapping, laid out like a classic
// DirectInput pad: axes left x, left y, right x, right y, triggers; buttons
// X A B Y, shoulders, triggers, back, start, sticks, guide, then the d-pad.
Reading ReadGamepad(int joystick) {
    GLFWgamepadstate state;
    Reading reading;
    if (!glfwGetGamepadState(joystick, &state)) return reading;
    const float* axis = state.axes;
    reading.axes = {axis[GLFW_GAMEPAD_AXIS_LEFT_X],  -axis[GLFW_GAMEPAD_AXIS_LEFT_Y],
                    axis[GLFW_GAMEPAD_AXIS_RIGHT_X], -axis[GLFW_GAMEPAD_AXIS_RIGHT_Y],
                    axis[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER], axis[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER]};
    const unsigned char* button = state.buttons;
    auto trigger = [axis](int index) -> unsigned char { return axis[index] > 0 ? PRESS : RELEASE; };
    reading.buttons = {button[GLFW_GAMEPAD_BUTTON_X],
                       button[GLFW_GAMEPAD_BUTTON_A],
                       button[GLFW_GAMEPAD_BUTTON_B],
                       button[GLFW_GAMEPAD_BUTTON_Y],
                       button[GLFW_GAMEPAD_BUTTON_LEFT_BUMPER],
                       button[GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER],
                       trigger(GLFW_GAMEPAD_AXIS_LEFT_TRIGGER),
                       trigger(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER),
                       button[GLFW_GAMEPAD_BUTTON_BACK],
                       button[GLFW_GAMEPAD_BUTTON_START],
                       button[GLFW_GAMEPAD_BUTTON_LEFT_THUMB],
                       button[GLFW_GAMEPAD_BUTTON_RIGHT_THUMB],
                       button[GLFW_GAMEPAD_BUTTON_GUIDE]};
    unsigned char hat = 0;
    if (button[GLFW_GAMEPAD_BUTTON_DPAD_LEFT]) hat |= GLFW_HAT_LEFT;
    if (button[GLFW_GAMEPAD_BUTTON_DPAD_UP]) hat |= GLFW_HAT_UP;
    if (button[GLFW_GAMEPAD_BUTTON_DPAD_RIGHT]) hat |= GLFW_HAT_RIGHT;
    if (button[GLFW_GAMEPAD_BUTTON_DPAD_DOWN]) hat |= GLFW_HAT_DOWN;
    AddHat(hat, reading.buttons);
    return reading;
}

Reading ReadRaw(int joystick) {
    Reading reading;
    int count = 0;
    const float* axes = glfwGetJoystickAxes(joystick, &count);
    for (int i = 0; axes && i < count; ++i) reading.axes.push_back(i % 2 ? -axes[i] : axes[i]);
    const unsigned char* buttons = glfwGetJoystickButtons(joystick, &count);
    if (buttons) reading.buttons.assign(buttons, buttons + count);
    const unsigned char* hats = glfwGetJoystickHats(joystick, &count);
    if (hats && count > 0) AddHat(hats[0], reading.buttons);
    return reading;
}

Reading Read(int joystick) {
    if (!glfwJoystickPresent(joystick)) return Reading();
    return glfwJoystickIsGamepad(joystick) ? ReadGamepad(joystick) : ReadRaw(joystick);
}

}  // namespace

int GetJoystickParam(int joystick, int param) {
    if (param == PRESENT) return glfwJoystickPresent(joystick) ? 1 : 0;
    Reading reading = Read(joystick);
    if (param == AXES) return static_cast<int>(reading.axes.size());
    if (param == BUTTONS) return static_cast<int>(reading.buttons.size());
    return 0;
}

int GetJoystickPos(int joystick, float* positions, int axisCount) {
    Reading reading = Read(joystick);
    int count = std::min(axisCount, static_cast<int>(reading.axes.size()));
    std::copy_n(reading.axes.begin(), count, positions);
    return count;
}

int GetJoystickButtons(int joystick, unsigned char* buttons, int buttonCount) {
    Reading reading = Read(joystick);
    int count = std::min(buttonCount, static_cast<int>(reading.buttons.size()));
    std::copy_n(reading.buttons.begin(), count, buttons);
    return count;
}

}  // namespace glfw2
