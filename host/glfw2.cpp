#include "host/glfw2.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <string>
#include <thread>

#include "host/glfw2_internal.h"

namespace glfw2 {
namespace {

struct Callbacks {
    KeyFun key = nullptr;
    CharFun character = nullptr;
    MouseButtonFun mouseButton = nullptr;
    MousePosFun mousePos = nullptr;
    WindowCloseFun close = nullptr;
};

struct Hints {
    int refreshRate = 0;
    bool noResize = false;
};

GLFWwindow* window;
bool closeAccepted;
Callbacks callbacks;
Hints hints;
bool keyRepeat;
bool autoPollEvents = true;
bool cursorVisible = true;
std::string title;
std::string windowClass;
// Asking the window system for the size is a round trip to it, and the app
// asks before every update and render; the size is kept as events tell it.
int windowWidth;
int windowHeight;
// The same holds for focus, which the loop checks every frame: asked of the
// window system, each check waits for it to finish showing the last frame.
bool windowFocused;

void OnKey(GLFWwindow*, int key3, int, int action, int) {
    if (action == GLFW_REPEAT && !keyRepeat) return;
    int key = CodeOfKeyEvent(key3, action);
    if (key == KEY_UNKNOWN || !callbacks.key) return;
    callbacks.key(key, action == GLFW_RELEASE ? RELEASE : PRESS);
}

void OnChar(GLFWwindow*, unsigned int codepoint) {
    if (callbacks.character) callbacks.character(static_cast<int>(codepoint), PRESS);
}

void OnMouseButton(GLFWwindow*, int button, int action, int) {
    if (callbacks.mouseButton) callbacks.mouseButton(button, action == GLFW_PRESS ? PRESS : RELEASE);
}

void OnCursorPos(GLFWwindow*, double x, double y) {
    if (callbacks.mousePos) callbacks.mousePos(static_cast<int>(x), static_cast<int>(y));
}

void OnWindowSize(GLFWwindow*, int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

void OnWindowFocus(GLFWwindow*, int focused) { windowFocused = focused == GLFW_TRUE; }

// 2.7 closes the window only when the callback agrees; the window stays
// until CloseWindow, since GLFW 3 forbids destroying it inside a callback.
void OnClose(GLFWwindow* closing) {
    bool accept = !callbacks.close || callbacks.close();
    glfwSetWindowShouldClose(closing, accept ? GLFW_TRUE : GLFW_FALSE);
    if (accept) closeAccepted = true;
}

void ApplyCursor() {
    if (window) glfwSetInputMode(window, GLFW_CURSOR, cursorVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

void InstallCallbacks() {
    glfwSetKeyCallback(window, OnKey);
    glfwSetCharCallback(window, OnChar);
    glfwSetMouseButtonCallback(window, OnMouseButton);
    glfwSetCursorPosCallback(window, OnCursorPos);
    glfwSetWindowCloseCallback(window, OnClose);
    glfwSetWindowSizeCallback(window, OnWindowSize);
    glfwSetWindowFocusCallback(window, OnWindowFocus);
}

}  // namespace

bool Init() {
    // Hats become buttons in the layer's own order (see the joystick part).
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    return glfwInit() == GLFW_TRUE;
}

void Terminate() {
    window = nullptr;
    glfwTerminate();
}

void OpenWindowHint(int target, int hint) {
    if (target == REFRESH_RATE) hints.refreshRate = hint;
    if (target == WINDOW_NO_RESIZE) hints.noResize = hint != 0;
}

bool OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits, int depthBits,
                int stencilBits, int mode) {
    if (window) return false;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, redBits);
    glfwWindowHint(GLFW_GREEN_BITS, greenBits);
    glfwWindowHint(GLFW_BLUE_BITS, blueBits);
    glfwWindowHint(GLFW_ALPHA_BITS, alphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    glfwWindowHint(GLFW_RESIZABLE, hints.noResize ? GLFW_FALSE : GLFW_TRUE);
    if (hints.refreshRate > 0) glfwWindowHint(GLFW_REFRESH_RATE, hints.refreshRate);
    hints = Hints();  // 2.7 hints last for one window
    if (!windowClass.empty()) {
        glfwWindowHintString(GLFW_X11_CLASS_NAME, windowClass.c_str());
        glfwWindowHintString(GLFW_X11_INSTANCE_NAME, windowClass.c_str());
    }

    GLFWmonitor* monitor = mode == FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
    window = glfwCreateWindow(width, height, title.c_str(), monitor, nullptr);
    if (!window) return false;
    closeAccepted = false;
    ForgetHeldKeys();
    glfwMakeContextCurrent(window);
    glfwGetWindowSize(window, &windowWidth, &windowHeight);
    windowFocused = glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
    InstallCallbacks();
    ApplyCursor();
    return true;
}

void CloseWindow() {
    if (!window) return;
    glfwDestroyWindow(window);
    window = nullptr;
}

void SetWindowTitle(const char* newTitle) {
    title = newTitle;
    if (window) glfwSetWindowTitle(window, newTitle);
}

void SetWindowClass(const char* name) { windowClass = name; }

void SetWindowPos(int x, int y) {
    if (window) glfwSetWindowPos(window, x, y);
}

void GetWindowSize(int* width, int* height) {
    *width = window ? windowWidth : 0;
    *height = window ? windowHeight : 0;
}

int GetWindowParam(int param) {
    if (!window) return 0;
    if (param == OPENED) return closeAccepted ? 0 : 1;
    if (param == ACTIVE) return windowFocused ? 1 : 0;
    return 0;
}

void SwapBuffers() {
    if (!window) return;
    glfwSwapBuffers(window);
    if (autoPollEvents) glfwPollEvents();
}

void SwapInterval(int interval) {
    if (window) glfwSwapInterval(interval);
}

void PollEvents() { glfwPollEvents(); }

void WaitEvents() { glfwWaitEvents(); }

// A key held across a layout change still answers to the code it was
// pressed with.
int GetKey(int key) {
    int key3 = HeldKeyWithCode(key);
    if (!window || key3 == GLFW_KEY_UNKNOWN) return RELEASE;
    return glfwGetKey(window, key3) == GLFW_PRESS ? PRESS : RELEASE;
}

void GetMousePos(int* x, int* y) {
    double cursorX = 0, cursorY = 0;
    if (window) glfwGetCursorPos(window, &cursorX, &cursorY);
    *x = static_cast<int>(cursorX);
    *y = static_cast<int>(cursorY);
}

void Enable(int feature) {
    if (feature == KEY_REPEAT) keyRepeat = true;
    if (feature == AUTO_POLL_EVENTS) autoPollEvents = true;
    if (feature == MOUSE_CURSOR) {
        cursorVisible = true;
        ApplyCursor();
    }
}

void Disable(int feature) {
    if (feature == KEY_REPEAT) keyRepeat = false;
    if (feature == AUTO_POLL_EVENTS) autoPollEvents = false;
    if (feature == MOUSE_CURSOR) {
        cursorVisible = false;
        ApplyCursor();
    }
}

void SetKeyCallback(KeyFun callback) { callbacks.key = callback; }
void SetCharCallback(CharFun callback) { callbacks.character = callback; }
void SetMouseButtonCallback(MouseButtonFun callback) { callbacks.mouseButton = callback; }
void SetMousePosCallback(MousePosFun callback) { callbacks.mousePos = callback; }
void SetWindowCloseCallback(WindowCloseFun callback) { callbacks.close = callback; }

int GetVideoModes(VidMode* modes, int maxCount) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* found = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!found) return 0;
    if (count > maxCount) count = maxCount;
    for (int i = 0; i < count; ++i) {
        modes[i] = {found[i].width, found[i].height, found[i].redBits, found[i].blueBits, found[i].greenBits};
    }
    return count;
}

void GetDesktopMode(VidMode* mode) {
    *mode = {};
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (desktop) *mode = {desktop->width, desktop->height, desktop->redBits, desktop->blueBits, desktop->greenBits};
}

double GetTime() { return glfwGetTime(); }

void Sleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace glfw2
