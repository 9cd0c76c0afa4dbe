#include "host/glfw2.h"
#include "host/key_translation.h"
#include "host/pad_layout.h"
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
    MapPadReading(axes, axisCount, pressed, buttonCount, x, y, z, buttons);
    return true;
}
