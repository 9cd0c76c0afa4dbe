#pragma once

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
