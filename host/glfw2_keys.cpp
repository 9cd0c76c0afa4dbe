#include <GLFW/glfw3.h>

#include <array>
#include <string_view>

#include "host/glfw2.h"
#include "host/glfw2_internal.h"
#include "host/key_labels.h"

namespace glfw2 {
namespace {

struct KeyPair {
    int key3;
    int key2;
};

constexpr KeyPair kSpecialKeys[] = {
    {GLFW_KEY_ESCAPE, KEY_ESC},
    {GLFW_KEY_UP, KEY_UP},
    {GLFW_KEY_DOWN, KEY_DOWN},
    {GLFW_KEY_LEFT, KEY_LEFT},
    {GLFW_KEY_RIGHT, KEY_RIGHT},
    {GLFW_KEY_LEFT_SHIFT, KEY_LSHIFT},
    {GLFW_KEY_RIGHT_SHIFT, KEY_RSHIFT},
    {GLFW_KEY_LEFT_CONTROL, KEY_LCTRL},
    {GLFW_KEY_RIGHT_CONTROL, KEY_RCTRL},
    {GLFW_KEY_LEFT_ALT, KEY_LALT},
    {GLFW_KEY_RIGHT_ALT, KEY_RALT},
    {GLFW_KEY_TAB, KEY_TAB},
    {GLFW_KEY_ENTER, KEY_ENTER},
    {GLFW_KEY_BACKSPACE, KEY_BACKSPACE},
    {GLFW_KEY_INSERT, KEY_INSERT},
    {GLFW_KEY_DELETE, KEY_DEL},
    {GLFW_KEY_PAGE_UP, KEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, KEY_PAGEDOWN},
    {GLFW_KEY_HOME, KEY_HOME},
    {GLFW_KEY_END, KEY_END},
    {GLFW_KEY_KP_DIVIDE, KEY_KP_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, KEY_KP_MULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, KEY_KP_SUBTRACT},
    {GLFW_KEY_KP_ADD, KEY_KP_ADD},
    {GLFW_KEY_KP_DECIMAL, KEY_KP_DECIMAL},
    {GLFW_KEY_KP_EQUAL, KEY_KP_EQUAL},
    {GLFW_KEY_KP_ENTER, KEY_KP_ENTER},
    {GLFW_KEY_NUM_LOCK, KEY_KP_NUM_LOCK},
    {GLFW_KEY_CAPS_LOCK, KEY_CAPS_LOCK},
    {GLFW_KEY_SCROLL_LOCK, KEY_SCROLL_LOCK},
    {GLFW_KEY_PAUSE, KEY_PAUSE},
    {GLFW_KEY_LEFT_SUPER, KEY_LSUPER},
    {GLFW_KEY_RIGHT_SUPER, KEY_RSUPER},
    {GLFW_KEY_MENU, KEY_MENU},
};

using KeyTable = std::array<int, GLFW_KEY_LAST + 1>;

// Keys that print no character keep their code in every layout.
KeyTable BuildUnprintedTable() {
    KeyTable table;
    table.fill(KEY_UNKNOWN);
    table[GLFW_KEY_SPACE] = KEY_SPACE;
    for (int n = 0; n < 25; ++n) table[GLFW_KEY_F1 + n] = KEY_F1 + n;
    for (int n = 0; n < 10; ++n) table[GLFW_KEY_KP_0 + n] = KEY_KP_0 + n;
    for (KeyPair pair : kSpecialKeys) table[pair.key3] = pair.key2;
    return table;
}

const KeyTable& UnprintedCodes() {
    static const KeyTable table = BuildUnprintedTable();
    return table;
}

std::string_view LabelInCurrentLayout(int key3) {
    const char* name = glfwGetKeyName(key3, 0);
    return name ? name : "";
}

KeyTable NoKeysHeld() {
    KeyTable table;
    table.fill(KEY_UNKNOWN);
    return table;
}

// The code each held key was pressed with.
KeyTable heldCodes = NoKeysHeld();

bool IsGlfw3Key(int key3) { return key3 >= 0 && key3 <= GLFW_KEY_LAST; }

}  // namespace

// GLFW notices a layout change only lazily, but always before it reports the
// next key, so the layout is read afresh for every key.
int KeyFromGlfw3(int key3) {
    if (!IsGlfw3Key(key3)) return KEY_UNKNOWN;
    if (IsPrintableKey(key3)) return CodesByLabel(LabelInCurrentLayout)[key3];
    return UnprintedCodes()[key3];
}

int CodeOfKeyEvent(int key3, int action) {
    if (!IsGlfw3Key(key3)) return KEY_UNKNOWN;
    if (action == GLFW_PRESS) heldCodes[key3] = KeyFromGlfw3(key3);
    int code = heldCodes[key3];
    if (action == GLFW_RELEASE) heldCodes[key3] = KEY_UNKNOWN;
    return code;
}

int HeldKeyWithCode(int key2) {
    if (key2 == KEY_UNKNOWN) return GLFW_KEY_UNKNOWN;
    for (int key3 = 0; key3 <= GLFW_KEY_LAST; ++key3) {
        if (heldCodes[key3] == key2) return key3;
    }
    return GLFW_KEY_UNKNOWN;
}

void ForgetHeldKeys() { heldCodes = NoKeysHeld(); }

}  // namespace glfw2
