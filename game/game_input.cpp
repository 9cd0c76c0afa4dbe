#include <initializer_list>

#include "framework/input/input.h"
#include "game/my_app.h"

namespace {

// Where one logical key is read from; lists end at the first 0 (or -1 for
// virtual buttons, since 0 is the up button).
struct LogicalKey {
    int key;
    int keyboard[5];
    int keyboardICade[4];
    int padButtons[4];
    int virtualButtons[4];
};

constexpr int kNoButton = -1;

constexpr LogicalKey kKeys[] = {
    {0, {38, 87}, {38}, {9, kNoButton}, {0, kNoButton}},
    {3, {37, 65}, {37}, {8, kNoButton}, {3, kNoButton}},
    {5, {39, 68}, {39}, {10, kNoButton}, {5, kNoButton}},
    {8, {40, 83}, {40}, {11, kNoButton}, {8, kNoButton}},
    {10, {90, 74, 32, 13}, {32, 13}, {0, kNoButton}, {10, kNoButton}},
    {11, {88, 75, 17}, {17}, {1, kNoButton}, {11, kNoButton}},
    {12, {67, 76, 16}, {16}, {2, kNoButton}, {12, kNoButton}},
    {13, {86, 73}, {}, {3, kNoButton}, {13, kNoButton}},
    {14, {66, 85}, {}, {4, kNoButton}, {14, kNoButton}},
    {15, {78, 79}, {}, {5, kNoButton}, {15, kNoButton}},
    {99, {27, 192, 46, 8}, {27, 46, 8}, {6, 7, 14, kNoButton}, {16, 17, 19, kNoButton}},
    {98, {27, 192, 46, 8}, {}, {6, 7, 14, kNoButton}, {16, 17, 19, kNoButton}},
};

// The console build reads its back keys from the menu button alone.
constexpr LogicalKey kOuyaBack = {99, {27}, {27}, {6, 7, kNoButton}, {19, kNoButton}};
constexpr LogicalKey kOuyaPauseBack = {98, {27}, {27}, {6, kNoButton}, {19, kNoButton}};

const LogicalKey* FindKey(int key) {
    if (kp_VTR_isOuya == 1 && key == 99) return &kOuyaBack;
    if (kp_VTR_isOuya == 1 && key == 98) return &kOuyaPauseBack;
    for (const LogicalKey& entry : kKeys) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

template <int N> bool AnyKeyDown(const int (&codes)[N]) {
    for (int code : codes) {
        if (code == 0) return false;
        if (kp_input_KeyDown(code)) return true;
    }
    return false;
}

bool AnyPadButtonDown(const int (&buttons)[4], int player) {
    for (int button : buttons) {
        if (button == kNoButton) return false;
        if (kp_input_KeyDown(256 + 32 * player + button)) return true;
    }
    return false;
}

}  // namespace

float c_MyApp::p_StickX(int stick, int player) {
    if (player < 0 || player > 3) return 0;
    return kp_input_JoyX(stick, player);
}

float c_MyApp::p_StickY(int stick, int player) {
    if (player < 0 || player > 3) return 0;
    float y = kp_input_JoyY(stick, player);
    return m_Settings[15 + stick] != 0 ? y : -y;
}

bool c_MyApp::StickHolds(int key, int player) {
    float x = p_StickX(0, player);
    if (key == 0) return p_StickY(0, player) < -0.4f;
    if (key == 3) return x < -0.4f;
    if (key == 5) return x > 0.4f;
    if (key == 8) return p_StickY(0, player) > 0.4f;
    return false;
}

int c_MyApp::p_PlayKey(int key, int allowStick, int player) {
    const LogicalKey* entry = FindKey(key);
    if (!entry || player < -1) return 0;
    bool iCade = kp_VTR_iCadeControls == 1;
    // On the console, the back key of the menus is the menu button alone.
    bool keyboard = !(kp_VTR_isOuya == 1 && key == 99 && player == -1);
    if (keyboard && (iCade ? AnyKeyDown(entry->keyboardICade) : AnyKeyDown(entry->keyboard))) return 1;
    if (player >= 0) {
        if (AnyPadButtonDown(entry->padButtons, player)) return 1;
        if (allowStick == 1 && StickHolds(key, player)) return 1;
    }
    for (int button : entry->virtualButtons) {
        if (button == kNoButton) break;
        if (m_VKeys[button] != 0) return m_VKeys[button];
    }
    return 0;
}

int c_MyApp::p_FullscreenFlip() {
    KpGlfwVideoMode* desktop = KpGlfwGame::_glfwGame->GetGlfwDesktopMode();
    m_Fullscreen = 1 - m_Fullscreen;
    if (m_Fullscreen == 1) {
        KpGlfwGame::_glfwGame->SetGlfwWindow(desktop->width, desktop->height, desktop->red, desktop->green,
                                             desktop->blue, 0, 0, 0, true);
    } else {
        KpGlfwGame::_glfwGame->SetGlfwWindow(640, 480, desktop->red, desktop->green, desktop->blue, 0, 0, 0, false);
    }
    return 0;
}
