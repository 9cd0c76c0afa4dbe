// A small app on the real host: it prints what reaches it and drives the
// window (keys through xdotool, a resize, a focus change, the close button)
// so that a test can check the lifecycle from outside the process.
#include <GLFW/glfw3.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/app/app.h"
#include "framework/app/framework_globals.h"
#include "framework/graphics/graphics.h"
#include "framework/input/input.h"
#include "host/kp_brisko_game.h"
#include "host/kp_program.h"

namespace {

std::string mode;

void Say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Run(const char* command) {
    if (std::system(command) != 0) Say("failed: %s", command);
}

class c_ProbeApp : public c_App {
public:
    int p_OnCreate() override {
        Say("create %dx%d", kp_app_DeviceWidth(), kp_app_DeviceHeight());
        kp_app_SetUpdateRate(60);
        if (mode == "back") kp_app__delegate->KeyEvent(1, 0x1A0);
        return 0;
    }

    int p_OnSuspend() override {
        Say("suspend");
        suspended = true;
        return 0;
    }

    int p_OnResume() override {
        Say("resume");
        suspended = false;
        resumedAt = updates;
        return 0;
    }

    int p_OnUpdate() override {
        ++updates;
        int width = kp_app_DeviceWidth();
        for (int key : {65, 37}) {
            if (kp_input_KeyHit(key)) Say("hit %d", key);
        }
        while (int character = kp_input_GetChar()) Say("char %d", character);
        Script();
        if (kp_app_DeviceWidth() != width) Say("size changed inside an update");
        return 0;
    }

    int p_OnRender() override {
        // Renders go on while suspended; they hand the focus back.
        if (suspended && other) glfwFocusWindow(own);
        kp_graphics_SetColor(255, 128, 0);
        kp_graphics_DrawRect(10, 10, 50, 50);
        return 0;
    }

private:
    void Script() {
        if (updates == 10) Run("xdotool key a Left");
        if (updates == 40) {
            kp_app__game->SetDeviceWindow(320, 240, 0);
            Say("resize asked, sees %d", kp_app_DeviceWidth());
        }
        if (updates == 41) Say("next update sees %dx%d", kp_app_DeviceWidth(), kp_app_DeviceHeight());
        if (updates == 60) TakeFocusAway();
        if (resumedAt > 0 && updates == resumedAt + 10) Run(SEND_CLOSE_REQUEST " Vantaroo &");
        if (updates > 3000) Say("no close request arrived");
    }

    void TakeFocusAway() {
        own = glfwGetCurrentContext();
        other = glfwCreateWindow(64, 64, "other", nullptr, nullptr);
        glfwMakeContextCurrent(own);
        glfwFocusWindow(other);
    }

    int updates = 0;
    int resumedAt = 0;
    bool suspended = false;
    GLFWwindow* own = nullptr;
    GLFWwindow* other = nullptr;
};

}  // namespace

void kpInit() {
    kp_framework_init();
    gc_add_roots(kp_framework_mark);
}

int kpMain() {
    (new c_ProbeApp)->m_new();
    return 0;
}

int main(int argc, char** argv) {
    mode = argc > 1 ? argv[1] : "";
    KpBriskoGame::Main(argc, argv);
    Say("loop ended");
    return 0;
}
