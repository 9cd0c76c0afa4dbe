#include <GLFW/glfw3.h>

#include <array>

#include "host/glfw2.h"

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

std::array<int, GLFW_KEY_LAST + 1> BuildTable() {
    std::array<int, GLFW_KEY_LAST + 1> table;
    table.fill(KEY_UNKNOWN);
    // Printable keys share their codes: the upper-case character.
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_GRAVE_ACCENT; ++key) table[key] = key;
    for (int n = 0; n < 25; ++n) table[GLFW_KEY_F1 + n] = KEY_F1 + n;
    for (int n = 0; n < 10; ++n) table[GLFW_KEY_KP_0 + n] = KEY_KP_0 + n;
    for (KeyPair pair : kSpecialKeys) table[pair.key3] = pair.key2;
    return table;
}

const std::array<int, GLFW_KEY_LAST + 1>& Table() {
    static const std::array<int, GLFW_KEY_LAST + 1> table = BuildTable();
    return table;
}

}  // namespace

int KeyFromGlfw3(int key3) {
    if (key3 < 0 || key3 > GLFW_KEY_LAST) return KEY_UNKNOWN;
    return Table()[key3];
}

int KeyToGlfw3(int key2) {
    const auto& table = Table();
    for (int key3 = 0; key3 <= GLFW_KEY_LAST; ++key3) {
        if (table[key3] == key2) return key3;
    }
    return GLFW_KEY_UNKNOWN;
}

}  // namespace glfw2
