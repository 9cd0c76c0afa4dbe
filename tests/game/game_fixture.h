#pragma once

#include <gtest/gtest.h>

#include "framework/app/framework_globals.h"
#include "framework/asyncevent/async_event.h"
#include "framework/input/input.h"
#include "game/my_app.h"
#include "host/kp_glfw_game.h"

// A host without a window: a device size and a clock the test sets, the
// saved state kept in memory, no pads. Files come from the data folder
// beside the test program, as for the game. OpenGL calls without a context
// do nothing, so images load (without textures) and updates run at full
// speed; renders need a window and belong in window tests.
class GameTestHost : public KpGlfwGame {
public:
    int width = 640;
    int height = 480;
    int millisecs = 0;
    String state;
    int saves = 0;

    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    int Millisecs() override { return millisecs; }
    String LoadState() override { return state; }
    int SaveState(String saved) override {
        state = saved;
        ++saves;
        return 0;
    }
    void SetDeviceWindow(int newWidth, int newHeight, int) override {
        width = newWidth;
        height = newHeight;
    }
    bool PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) override { return false; }
    void SetGlfwWindow(int newWidth, int newHeight, int, int, int, int, int, int, bool fullscreen) override {
        width = newWidth;
        height = newHeight;
        fullScreen = fullscreen;
    }
    KpGlfwVideoMode* GetGlfwDesktopMode() override {
        auto* desktop = new KpGlfwVideoMode;
        desktop->width = 1920;
        desktop->height = 1080;
        desktop->red = desktop->green = desktop->blue = 8;
        return desktop;
    }
    bool fullScreen = false;
};

// A fresh game per test, started as the host starts it (create, then the
// delegate's start); updates and key events go through the host's
// forwarders, so the collector steps after each as in the game.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = new GameTestHost;
        kp_framework_init();
        kp_VTR_init();
        static bool rooted = (gc_add_roots(kp_framework_mark), gc_add_roots(kp_VTR_mark), true);
        (void)rooted;
        app = (new c_MyApp)->m_new();
        host->StartGame();
    }

    void TearDown() override { delete host; }

    void Update(int count = 1) {
        for (int i = 0; i < count; ++i) {
            host->millisecs += 16;
            host->UpdateGame();
        }
    }

    // Runs updates until the loader is done.
    void FinishLoading() {
        for (int i = 0; i < 40 && app->m_LoaderStep > 0; ++i) Update();
    }

    void Press(int key) { host->KeyEvent(kKeyDown, key); }
    void Release(int key) { host->KeyEvent(kKeyUp, key); }

    GameTestHost* host = nullptr;
    c_MyApp* app = nullptr;
};
