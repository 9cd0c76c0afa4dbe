// The loop checks the window's focus every frame. A request to the X server
// waits for the server, which on a busy machine answers late, and each such
// wait lengthens the frame; the focus is known from the window's events.
// Before the X headers, whose macros clash with its names.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <thread>

#include "host/glfw2.h"

namespace {

class FocusCheck : public testing::Test {
protected:
    // One window for the whole run, left to the process's end: closing the
    // window library unloads the GL driver, whose allocations the leak
    // checker then cannot trace.
    void SetUp() override {
        static bool opened = glfw2::Init() && glfw2::OpenWindow(320, 200, 8, 8, 8, 0, 0, 0, glfw2::WINDOW);
        ASSERT_TRUE(opened);
        display = glfwGetX11Display();
        window = glfwGetCurrentContext();
    }

    // Asks for the focus change and polls until the focus reads as wanted,
    // asking again now and then: another test's window may take the focus
    // on the shared display meanwhile.
    bool FocusBecomes(int wanted, const std::function<void()>& ask) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (int poll = 0; std::chrono::steady_clock::now() < end; ++poll) {
            if (poll % 20 == 0) ask();
            glfw2::PollEvents();
            if (glfw2::GetWindowParam(glfw2::ACTIVE) == wanted) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void TakeFocus() { glfwFocusWindow(window); }
    void GiveFocusAway() {
        XSetInputFocus(display, DefaultRootWindow(display), RevertToPointerRoot, CurrentTime);
        XFlush(display);
    }

    Display* display = nullptr;
    GLFWwindow* window = nullptr;
};

TEST_F(FocusCheck, AsksNothingOfTheServer) {
    glfw2::PollEvents();
    unsigned long before = XNextRequest(display);
    for (int frame = 0; frame < 60; ++frame) glfw2::GetWindowParam(glfw2::ACTIVE);
    EXPECT_EQ(XNextRequest(display), before);
}

TEST_F(FocusCheck, FollowsFocusGivenAwayAndTakenBack) {
    ASSERT_TRUE(FocusBecomes(1, [&] { TakeFocus(); }));
    EXPECT_TRUE(FocusBecomes(0, [&] { GiveFocusAway(); })) << "focus lost";
    EXPECT_TRUE(FocusBecomes(1, [&] { TakeFocus(); })) << "focus regained";
}

}  // namespace
