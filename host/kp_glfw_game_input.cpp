#include "host/glfw2.h"
#include "host/key_translation.h"
#include "host/kp_glfw_game.h"

namespace {

constexpr int kCloseKey = 0x1B0;
constexpr int kPorts = 4;
constexpr int kJoysticks = 16;
constexpr int kAxes = 6;
constexpr int kButtons = 32;

void OnKey(int key, int action) {
    int code = TransKey(key);
    if (code == 0) return;
    if (action == glfw2::RELEASE) {
        KpGame::_game->KeyEvent(kKeyUp, code);
        return;
    }
    KpGame::_game->KeyEvent(kKeyDown, code);
    int character = KeyToChar(code);
    if (character != 0) KpGame::_game->KeyEvent(kKeyChar, character);
}

void OnChar(int character, int action) {
    if (action == glfw2::PRESS) KpGame::_game->KeyEvent(kKeyChar, character);
}

void OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    int x, y;
    glfw2::GetMousePos(&x, &y);
    int event = action == glfw2::RELEASE ? kMouseUp : kMouseDown;
    KpGame::_game->MouseEvent(event, button, static_cast<float>(x), static_cast<float>(y));
}

void OnMousePos(int x, int y) { KpGame::_game->MouseEvent(kMouseMove, -1, static_cast<float>(x), static_cast<float>(y)); }

// Closing is the app's decision: it sees the close key and may end itself.
int OnWindowClose() {
    KpGame::_game->KeyEvent(kKeyDown, kCloseKey);
    KpGame::_game->KeyEvent(kKeyUp, kCloseKey);
    return 0;
}

// How a pad's readings become the framework's sticks, triggers and buttons.
struct PadLayout {
    int axisCodes[6];
    int buttons[14];
};

// Pads with exactly 14 buttons and 5 axes; every other pad uses layout B.
constexpr PadLayout kLayoutA = {{0, 1, 2, 4, 67, 66}, {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9}};
constexpr PadLayout kLayoutB = {{0, 1, 134, 2, 67, 135}, {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11}};

// A code's high part picks the rule, its low four bits the source.
float AxisValue(int code, const float* axes, const unsigned char* buttons) {
    int source = code & 15;
    if (code & 128) return buttons[source] == glfw2::PRESS ? 1.0f : 0.0f;
    if (code & 64) return -axes[source];
    return axes[source];
}

int portJoysticks[kPorts] = {-1, -1, -1, -1};

void RescanPorts() {
    int found = 0;
    for (int joystick = 0; joystick < kJoysticks && found < kPorts; ++joystick) {
        if (glfw2::GetJoystickParam(joystick, glfw2::PRESENT)) portJoysticks[found++] = joystick;
    }
    for (int port = found; port < kPorts; ++port) portJoysticks[port] = -1;
}

}  // namespace

void KpGlfwGame::InstallCallbacks() {
    glfw2::SetKeyCallback(OnKey);
    glfw2::SetCharCallback(OnChar);
    glfw2::SetMouseButtonCallback(OnMouseButton);
    glfw2::SetMousePosCallback(OnMousePos);
    glfw2::SetWindowCloseCallback(OnWindowClose);
}

bool KpGlfwGame::PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) {
    if (port == 0) RescanPorts();
    if (port < 0 || port >= kPorts || portJoysticks[port] == -1) return false;
    int joystick = portJoysticks[port];

    float axes[kAxes] = {};
    unsigned char pressed[kButtons] = {};
    int axisCount = glfw2::GetJoystickPos(joystick, axes, kAxes);
    int buttonCount = glfw2::GetJoystickButtons(joystick, pressed, kButtons);
    const PadLayout& layout = (buttonCount == 14 && axisCount == 5) ? kLayoutA : kLayoutB;

    float values[6];
    for (int i = 0; i < 6; ++i) values[i] = AxisValue(layout.axisCodes[i], axes, pressed);
    x[0] = values[0];
    y[0] = values[1];
    z[0] = values[2];
    x[1] = values[3];
    y[1] = values[4];
    z[1] = values[5];

    for (int k = 0; k < kButtons; ++k) buttons[k] = false;
    for (int k = 0; k < 14; ++k) {
        int source = layout.buttons[k];
        if (source < 0) source += buttonCount;
        // An entry counted from the end of a pad with few buttons reads as released.
        buttons[k] = source >= 0 && pressed[source] == glfw2::PRESS;
    }
    return true;
}
