#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "host/glfw2.h"
#include "host/key_translation.h"

namespace {

struct KeyCase {
    int key;
    int code;
    int character;
};

TEST(KeyTranslation, TableOfKeys) {
    const KeyCase cases[] = {
        {'0', '0', 0},
        {'9', '9', 0},
        {'A', 'A', 0},
        {'Z', 'Z', 0},
        {glfw2::KEY_SPACE, 32, 0},
        {'\'', 222, 0},
        {'"', 222, 0},
        {',', 188, 0},
        {'-', 189, 0},
        {'.', 190, 0},
        {'/', 191, 0},
        {';', 186, 0},
        {'=', 187, 0},
        {'[', 219, 0},
        {'\\', 220, 0},
        {']', 221, 0},
        {'`', 192, 0},
        {'~', 192, 0},
        {glfw2::KEY_ESC, 27, 27},
        {glfw2::KEY_F1, 112, 0},
        {glfw2::KEY_F12, 123, 0},
        {glfw2::KEY_UP, 38, 0x10026},
        {glfw2::KEY_DOWN, 40, 0x10028},
        {glfw2::KEY_LEFT, 37, 0x10025},
        {glfw2::KEY_RIGHT, 39, 0x10027},
        {glfw2::KEY_LSHIFT, 16, 0},
        {glfw2::KEY_RSHIFT, 16, 0},
        {glfw2::KEY_LCTRL, 17, 0},
        {glfw2::KEY_RCTRL, 17, 0},
        {glfw2::KEY_TAB, 9, 9},
        {glfw2::KEY_ENTER, 13, 13},
        {glfw2::KEY_BACKSPACE, 8, 8},
        {glfw2::KEY_INSERT, 45, 0x1002D},
        {glfw2::KEY_DEL, 46, 127},
        {glfw2::KEY_PAGEUP, 33, 0x10021},
        {glfw2::KEY_PAGEDOWN, 34, 0x10022},
        {glfw2::KEY_HOME, 36, 0x10024},
        {glfw2::KEY_END, 35, 0x10023},
        {glfw2::KEY_KP_0, 96, 0},
        {glfw2::KEY_KP_9, 105, 0},
        {glfw2::KEY_KP_DIVIDE, 111, 0},
        {glfw2::KEY_KP_MULTIPLY, 106, 0},
        {glfw2::KEY_KP_SUBTRACT, 109, 0},
        {glfw2::KEY_KP_ADD, 107, 0},
        {glfw2::KEY_KP_DECIMAL, 110, 0},
        // Not seen by the game.
        {'a', 0, 0},
        {'!', 0, 0},
        {glfw2::KEY_F1 + 12, 0, 0},
        {glfw2::KEY_LALT, 0, 0},
        {glfw2::KEY_RALT, 0, 0},
        {glfw2::KEY_KP_EQUAL, 0, 0},
        {glfw2::KEY_KP_ENTER, 0, 0},
        {glfw2::KEY_CAPS_LOCK, 0, 0},
        {glfw2::KEY_PAUSE, 0, 0},
        {glfw2::KEY_LSUPER, 0, 0},
        {glfw2::KEY_MENU, 0, 0},
        {31, 0, 0},
        {-1, 0, 0},
        {400, 0, 0},
    };
    for (const KeyCase& c : cases) {
        int code = TransKey(c.key);
        EXPECT_EQ(code, c.code) << "key " << c.key;
        if (code != 0) {
            EXPECT_EQ(KeyToChar(code), c.character) << "key " << c.key;
        }
    }
}

TEST(KeyTranslation, GlfwThreeKeysGetTheirOldNumbers) {
    const std::pair<int, int> cases[] = {
        {GLFW_KEY_A, 'A'},
        {GLFW_KEY_APOSTROPHE, '\''},
        {GLFW_KEY_GRAVE_ACCENT, '`'},
        {GLFW_KEY_ESCAPE, glfw2::KEY_ESC},
        {GLFW_KEY_F12, glfw2::KEY_F12},
        {GLFW_KEY_LEFT, glfw2::KEY_LEFT},
        {GLFW_KEY_DELETE, glfw2::KEY_DEL},
        {GLFW_KEY_KP_9, glfw2::KEY_KP_9},
        {GLFW_KEY_KP_DECIMAL, glfw2::KEY_KP_DECIMAL},
        {GLFW_KEY_RIGHT_CONTROL, glfw2::KEY_RCTRL},
        {GLFW_KEY_MENU, glfw2::KEY_MENU},
        {GLFW_KEY_PRINT_SCREEN, glfw2::KEY_UNKNOWN},
        {GLFW_KEY_WORLD_1, glfw2::KEY_UNKNOWN},
        {GLFW_KEY_UNKNOWN, glfw2::KEY_UNKNOWN},
    };
    for (auto [key3, key2] : cases) EXPECT_EQ(glfw2::KeyFromGlfw3(key3), key2) << "GLFW 3 key " << key3;
    EXPECT_EQ(glfw2::KEY_LAST, 325);
}

}  // namespace
