#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

// The test program's module globals besides the graphics module's: the
// renderer the tests share and an object a test keeps across a collection.
inline gxtkGraphics* testRenderer;
inline Object* testKept;

inline void markRenderTestRoots() {
    kp_graphics_mark();
    gc_mark(testRenderer);
    gc_mark(testKept);
}

// One window and one renderer for the whole program, as in the game. Each
// test starts a frame on a black window with the renderer's state reset.
class RenderTest : public ::testing::Test {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

protected:
    static void SetUpTestSuite() {
        static bool ready = StartOnce();
        ASSERT_TRUE(ready) << "needs a display (run under xvfb-run)";
    }

    void SetUp() override {
        testKept = nullptr;
        kp_graphics_SetGraphicsDevice(testRenderer);
        StartFrame();
    }

    void TearDown() override { EndFrame(); }

public:
    static KpGlfwGame& Host() {
        static KpGlfwGame host;
        return host;
    }

    static void OpenWindow() { Host().SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false); }

    static gxtkGraphics* renderer() { return testRenderer; }

    // Both the renderer's frame and the module's, then a black window. The
    // module sends its matrix only with its own draws, so tests that draw
    // on the renderer directly get the identity here.
    static void StartFrame() {
        renderer()->BeginRender();
        kp_graphics_BeginRender();
        renderer()->SetMatrix(1, 0, 0, 1, 0, 0);
        renderer()->Cls(0, 0, 0);
    }

    static void EndFrame() {
        kp_graphics_EndRender();
        renderer()->EndRender();
    }

    static int DrawCalls() { return renderer()->Stats().drawCalls; }

    // The colour at (x, y) as 0xRRGGBB; sends the open batch first.
    static std::uint32_t Pixel(int x, int y) {
        Array<int> one(1);
        renderer()->ReadPixels(one, x, y, 1, 1, 0, 1);
        return static_cast<std::uint32_t>(one[0]) & 0xFFFFFF;
    }

    // Finishes every pending collection cycle; only rooted objects survive.
    static void CollectEverythingUnreachable() {
        gc_mark();
        gc_collect_all();
        gc_collect_all();
        gc_flush_free(INT_MAX);
    }

private:
    static bool StartOnce() {
        if (!glfw2::Init()) return false;
        OpenWindow();
        // A frame's scissor covers the device size the app module last saw.
        kp_app_init();
        kp_app_ValidateDeviceWindow(false);
        gc_add_roots(markRenderTestRoots);
        kp_graphics_init();
        gc_assign(testRenderer, new gxtkGraphics);
        return true;
    }
};

// Colour channels may differ by one step of rounding in the blend unit.
inline ::testing::AssertionResult NearColor(std::uint32_t got, std::uint32_t want) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = static_cast<int>(got >> shift & 0xFF);
        int b = static_cast<int>(want >> shift & 0xFF);
        if (a < b - 1 || a > b + 1) {
            return ::testing::AssertionFailure() << std::hex << "got 0x" << got << ", want 0x" << want;
        }
    }
    return ::testing::AssertionSuccess();
}
