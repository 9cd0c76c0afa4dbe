#include "host/key_translation.h"

#include "host/glfw2.h"

namespace {

struct KeyPair {
    int library;
    int host;
};

constexpr KeyPair kKeys[] = {
    {glfw2::KEY_SPACE, 32},
    {'\'', 222},
    {'"', 222},
    {',', 188},
    {'-', 189},
    {'.', 190},
    {'/', 191},
    {';', 186},
    {'=', 187},
    {'[', 219},
    {'\\', 220},
    {']', 221},
    {'`', 192},
    {'~', 192},
    {glfw2::KEY_ESC, 27},
    {glfw2::KEY_UP, 38},
    {glfw2::KEY_DOWN, 40},
    {glfw2::KEY_LEFT, 37},
    {glfw2::KEY_RIGHT, 39},
    {glfw2::KEY_LSHIFT, 16},
    {glfw2::KEY_RSHIFT, 16},
    {glfw2::KEY_LCTRL, 17},
    {glfw2::KEY_RCTRL, 17},
    {glfw2::KEY_TAB, 9},
    {glfw2::KEY_ENTER, 13},
    {glfw2::KEY_BACKSPACE, 8},
    {glfw2::KEY_INSERT, 45},
    {glfw2::KEY_DEL, 46},
    {glfw2::KEY_PAGEUP, 33},
    {glfw2::KEY_PAGEDOWN, 34},
    {glfw2::KEY_HOME, 36},
    {glfw2::KEY_END, 35},
    {glfw2::KEY_KP_DIVIDE, 111},
    {glfw2::KEY_KP_MULTIPLY, 106},
    {glfw2::KEY_KP_SUBTRACT, 109},
    {glfw2::KEY_KP_ADD, 107},
    {glfw2::KEY_KP_DECIMAL, 110},
};

}  // namespace

int TransKey(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return key;
    if (key >= glfw2::KEY_F1 && key <= glfw2::KEY_F12) return 112 + key - glfw2::KEY_F1;
    if (key >= glfw2::KEY_KP_0 && key <= glfw2::KEY_KP_9) return 96 + key - glfw2::KEY_KP_0;
    for (KeyPair pair : kKeys) {
        if (pair.library == key) return pair.host;
    }
    return 0;
}

int KeyToChar(int key) {
    switch (key) {
        case 8:
        case 9:
        case 13:
        case 27:
            return key;
        case 33:
        case 34:
        case 35:
        case 36:
        case 37:
        case 38:
        case 39:
        case 40:
        case 45:
            return key | 0x10000;
        case 46:
            return 127;
        default:
            return 0;
    }
}
