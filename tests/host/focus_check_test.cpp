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
#include <thread>

#include "host/glfw2.h"

namespace {

class FocusCheck : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(glfw2::Init());
        ASSERT_TRUE(glfw2::OpenWindow(320, 200, 8, 8, 8, 0, 0, 0, glfw2::WINDOW));
        display = glfwGetX11Display();
        window = glfwGetCurrentContext();
    }

    void TearDown() override { glfw2::Terminate(); }

    // Polls until the focus reads as wanted or a few seconds have passed.
    bool FocusBecomes(int wanted) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end) {
            glfw2::PollEvents();
            if (glfw2::GetWindowParam(glfw2::ACTIVE) == wanted) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
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
    glfwFocusWindow(window);
    ASSERT_TRUE(FocusBecomes(1));
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    EXPECT_TRUE(FocusBecomes(0)) << "focus lost";
    glfwFocusWindow(window);
    EXPECT_TRUE(FocusBecomes(1)) << "focus regained";
}

}  // namespace
