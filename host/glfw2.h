#pragma once

// The GLFW 2.7 interface the host is written against, over GLFW 3: one
// window, 2.7 key numbering, callbacks without a window argument, a close
// request that the callback may refuse, joysticks as plain axes and buttons.
namespace glfw2 {

// Window modes.
constexpr int WINDOW = 0x00010001;
constexpr int FULLSCREEN = 0x00010002;

// Window parameters.
constexpr int OPENED = 0x00020001;
constexpr int ACTIVE = 0x00020002;

// Features for Enable and Disable.
constexpr int MOUSE_CURSOR = 0x00030001;
constexpr int KEY_REPEAT = 0x00030005;
constexpr int AUTO_POLL_EVENTS = 0x00030006;

// Window hints.
constexpr int REFRESH_RATE = 0x0002000B;
constexpr int WINDOW_NO_RESIZE = 0x00020012;

// Joystick parameters.
constexpr int PRESENT = 0x00050001;
constexpr int AXES = 0x00050002;
constexpr int BUTTONS = 0x00050003;

constexpr int RELEASE = 0;
constexpr int PRESS = 1;

// Key codes: printable keys are the upper-case characters printed on them in
// the current layout (see key_labels.h); the rest follow from KEY_SPECIAL.
constexpr int KEY_UNKNOWN = -1;
constexpr int KEY_SPACE = 32;
constexpr int KEY_SPECIAL = 256;
constexpr int KEY_ESC = KEY_SPECIAL + 1;
constexpr int KEY_F1 = KEY_SPECIAL + 2;
constexpr int KEY_F12 = KEY_SPECIAL + 13;
constexpr int KEY_F25 = KEY_SPECIAL + 26;
constexpr int KEY_UP = KEY_SPECIAL + 27;
constexpr int KEY_DOWN = KEY_SPECIAL + 28;
constexpr int KEY_LEFT = KEY_SPECIAL + 29;
constexpr int KEY_RIGHT = KEY_SPECIAL + 30;
constexpr int KEY_LSHIFT = KEY_SPECIAL + 31;
constexpr int KEY_RSHIFT = KEY_SPECIAL + 32;
constexpr int KEY_LCTRL = KEY_SPECIAL + 33;
constexpr int KEY_RCTRL = KEY_SPECIAL + 34;
constexpr int KEY_LALT = KEY_SPECIAL + 35;
constexpr int KEY_RALT = KEY_SPECIAL + 36;
constexpr int KEY_TAB = KEY_SPECIAL + 37;
constexpr int KEY_ENTER = KEY_SPECIAL + 38;
constexpr int KEY_BACKSPACE = KEY_SPECIAL + 39;
constexpr int KEY_INSERT = KEY_SPECIAL + 40;
constexpr int KEY_DEL = KEY_SPECIAL + 41;
constexpr int KEY_PAGEUP = KEY_SPECIAL + 42;
constexpr int KEY_PAGEDOWN = KEY_SPECIAL + 43;
constexpr int KEY_HOME = KEY_SPECIAL + 44;
constexpr int KEY_END = KEY_SPECIAL + 45;
constexpr int KEY_KP_0 = KEY_SPECIAL + 46;
constexpr int KEY_KP_9 = KEY_SPECIAL + 55;
constexpr int KEY_KP_DIVIDE = KEY_SPECIAL + 56;
constexpr int KEY_KP_MULTIPLY = KEY_SPECIAL + 57;
constexpr int KEY_KP_SUBTRACT = KEY_SPECIAL + 58;
constexpr int KEY_KP_ADD = KEY_SPECIAL + 59;
constexpr int KEY_KP_DECIMAL = KEY_SPECIAL + 60;
constexpr int KEY_KP_EQUAL = KEY_SPECIAL + 61;
constexpr int KEY_KP_ENTER = KEY_SPECIAL + 62;
constexpr int KEY_KP_NUM_LOCK = KEY_SPECIAL + 63;
constexpr int KEY_CAPS_LOCK = KEY_SPECIAL + 64;
constexpr int KEY_SCROLL_LOCK = KEY_SPECIAL + 65;
constexpr int KEY_PAUSE = KEY_SPECIAL + 66;
constexpr int KEY_LSUPER = KEY_SPECIAL + 67;
constexpr int KEY_RSUPER = KEY_SPECIAL + 68;
constexpr int KEY_MENU = KEY_SPECIAL + 69;
constexpr int KEY_LAST = KEY_MENU;

struct VidMode {
    int Width, Height;
    int RedBits, BlueBits, GreenBits;
};

using KeyFun = void (*)(int key, int action);
using CharFun = void (*)(int character, int action);
using MouseButtonFun = void (*)(int button, int action);
using MousePosFun = void (*)(int x, int y);
// Returns non-zero to let the window close.
using WindowCloseFun = int (*)();

bool Init();
void Terminate();

void OpenWindowHint(int target, int hint);
bool OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits, int depthBits,
                int stencilBits, int mode);
void CloseWindow();
// The title of the window and of every window opened after it.
void SetWindowTitle(const char* title);
// The X11 class and instance name of the windows opened from now on, by
// which docks and task bars tie them to the program's desktop entry.
void SetWindowClass(const char* name);
void SetWindowPos(int x, int y);
void GetWindowSize(int* width, int* height);
int GetWindowParam(int param);
void SwapBuffers();
void SwapInterval(int interval);

void PollEvents();
void WaitEvents();
int GetKey(int key);
void GetMousePos(int* x, int* y);
void Enable(int feature);
void Disable(int feature);
void SetKeyCallback(KeyFun callback);
void SetCharCallback(CharFun callback);
void SetMouseButtonCallback(MouseButtonFun callback);
void SetMousePosCallback(MousePosFun callback);
void SetWindowCloseCallback(WindowCloseFun callback);

int GetJoystickParam(int joystick, int param);
int GetJoystickPos(int joystick, float* positions, int axisCount);
int GetJoystickButtons(int joystick, unsigned char* buttons, int buttonCount);

int GetVideoModes(VidMode* modes, int maxCount);
void GetDesktopMode(VidMode* mode);

double GetTime();
void Sleep(double seconds);

// The 2.7 code of a GLFW 3 key in the current layout, KEY_UNKNOWN when 2.7
// has none.
int KeyFromGlfw3(int key3);

}  // namespace glfw2
