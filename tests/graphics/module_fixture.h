#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/graphics/graphics.h"
#include "host/kp_glfw_game.h"
#include "tests/graphics/test_images.h"
#include "tests/host/temp_folder.h"

// An RGBA surface of the given size with no pixels yet.
inline gxtkSurface* BlankSurface(int width, int height) {
    auto* surface = new gxtkSurface;
    surface->SetData(nullptr, width, height, 4);
    return surface;
}

// The module with a renderer but no window: surfaces keep their pixels and
// make no texture, which is all that image layout and the matrix need.
// Nothing here collects, so the test needs no roots.
class GraphicsModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        kp_graphics_init();
        kp_graphics_SetGraphicsDevice(new gxtkGraphics);
    }

    std::string WriteBlank(const std::string& name, int width, int height) {
        return WritePng(folder, name, width, height, 4, std::vector<unsigned char>(width * height * 4, 0x80));
    }

    c_Image* LoadStrip(int width, int height, int frames, int flags) {
        return kp_graphics_LoadImage(String(WriteBlank("strip.png", width, height).c_str()), frames, flags);
    }

    KpGlfwGame host;
    TempFolder folder;
};
