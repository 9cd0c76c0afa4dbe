#pragma once

#include <gtest/gtest.h>

#include "framework/app/framework_globals.h"
#include "framework/asyncevent/async_event.h"
#include "framework/input/input.h"
#include "game/my_app.h"
#include "tests/game/recording_renderer.h"
#include "tests/support/game_test_host.h"

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

    // Renders one frame through the host onto a renderer that records.
    RecordingRenderer* Render() {
        auto* renderer = new RecordingRenderer;
        gc_assign(kp_app__delegate->m_graphicsDevice, static_cast<gxtkGraphics*>(renderer));
        kp_graphics_SetGraphicsDevice(renderer);
        host->RenderGame();
        return renderer;
    }

    void Press(int key) { host->KeyEvent(kKeyDown, key); }
    void Release(int key) { host->KeyEvent(kKeyUp, key); }

    GameTestHost* host = nullptr;
    c_MyApp* app = nullptr;
};
