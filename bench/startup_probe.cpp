// The game as a player starts it: in its 640 x 480 window; with
// VANTAROO_PROBE_FULL_SCREEN=1 switched to full screen (F11) at once; with
// VANTAROO_PROBE_SMALL_WINDOW=1 in a window shrunk below the size that
// takes the larger images. At its first title frame it prints "TITLE_FRAME
// <monotonic nanoseconds>", then starts a level with its tune, plays a few
// seconds and ends.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "game/my_app.h"
#include "host/kp_program.h"

namespace {

constexpr int kMenuMode = 1;
constexpr int kStartMode = 11;
constexpr int kPlayUpdates = 240;
constexpr int kSmallWidth = 600;
constexpr int kSmallHeight = 450;

class StartupProbe : public c_MyApp {
public:
    int p_OnUpdate() override {
        if (!updated && std::getenv("VANTAROO_PROBE_FULL_SCREEN")) p_FullscreenFlip();
        if (!updated && std::getenv("VANTAROO_PROBE_SMALL_WINDOW")) {
            KpGlfwGame::_glfwGame->SetGlfwWindow(kSmallWidth, kSmallHeight, 8, 8, 8, 0, 0, 0, false);
        }
        // A desktop's window manager focuses a new window; a bare X server
        // leaves that to the program.
        if (!updated) glfwFocusWindow(glfwGetCurrentContext());
        updated = true;
        c_MyApp::p_OnUpdate();
        if (m_LoaderStep == 0 && m_GameMode == kMenuMode) titleDrawn = true;
        if (playing && ++played == kPlayUpdates) std::exit(0);
        return 0;
    }

    int p_OnRender() override {
        c_MyApp::p_OnRender();
        if (titleDrawn && !playing) {
            timespec now;
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("TITLE_FRAME %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            StartLevel();
        }
        return 0;
    }

private:
    void StartLevel() {
        playing = true;
        m_Difficulty = 2;
        m_GameMode = kStartMode;
        p_PlayTune(String("Agile"), 0);
    }

    bool updated = false;
    bool titleDrawn = false;
    bool playing = false;
    int played = 0;
};

}  // namespace

int kpMain() {
    (new StartupProbe)->m_new();
    return 0;
}
