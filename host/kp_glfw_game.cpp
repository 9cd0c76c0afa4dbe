#include "host/kp_glfw_game.h"

#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "host/glfw2.h"
#include "host/heap_reuse.h"
#include "host/key_translation.h"
#include "host/spawn.h"
#include "runtime/errors.h"
#include "runtime/system_text.h"

extern char** environ;

int glfwGraphicsSeq;
KpGlfwGame* KpGlfwGame::_glfwGame;

namespace {

constexpr int kMaxUpdatesPerFrame = 4;
constexpr int kFirstWidth = 640;
constexpr int kFirstHeight = 480;
constexpr const char* kTitle = "Vantaroo";
// Matches the desktop entry's name, so docks show the entry's icon and name.
constexpr const char* kWindowClass = "vantaroo";

}  // namespace

KpGlfwGame::KpGlfwGame() : updatePeriod(0), nextUpdate(0), swapInterval(1) {
    _glfwGame = this;
    KeepFreedHeapForReuse();
}

void KpGlfwGame::SetUpdateRate(int hertz) {
    updateRate = hertz;
    if (hertz != 0) updatePeriod = 1.0 / hertz;
    nextUpdate = 0;
}

int KpGlfwGame::Millisecs() { return static_cast<int>(glfw2::GetTime() * 1000); }

void KpGlfwGame::SetMouseVisible(bool visible) {
    if (visible) {
        glfw2::Enable(glfw2::MOUSE_CURSOR);
    } else {
        glfw2::Disable(glfw2::MOUSE_CURSOR);
    }
}

int KpGlfwGame::GetDeviceWidth() {
    int width, height;
    glfw2::GetWindowSize(&width, &height);
    return width;
}

int KpGlfwGame::GetDeviceHeight() {
    int width, height;
    glfw2::GetWindowSize(&width, &height);
    return height;
}

void KpGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

void KpGlfwGame::SetSwapInterval(int interval) {
    swapInterval = interval;
    if (interval >= 0) glfw2::SwapInterval(interval);
}

// The URL goes to the desktop's opener as one argument, without a shell, so
// nothing in it is run as a command.
void KpGlfwGame::OpenUrl(String url) {
    std::string address = SystemBytes(url);
    char program[] = "xdg-open";
    char* arguments[] = {program, address.data(), nullptr};
    pid_t child;
    if (SpawnWithDefaultSignals(&child, program, arguments, environ, nullptr) != 0) return;
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

void KpGlfwGame::ReleaseHeldKeys() {
    for (int key = 0; key <= glfw2::KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfw2::GetKey(key) == glfw2::PRESS) KeyEvent(kKeyUp, code);
    }
}

bool KpGlfwGame::OpenGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                                int stencil, bool fullscreen) {
    glfw2::OpenWindowHint(glfw2::REFRESH_RATE, 60);
    glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 0);
    glfw2::SetWindowClass(kWindowClass);
    // Full screen too, so that task switchers name the window.
    glfw2::SetWindowTitle(kTitle);
    return glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil,
                             fullscreen ? glfw2::FULLSCREEN : glfw2::WINDOW);
}

void KpGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    ReleaseHeldKeys();
    glfw2::VidMode desktop;
    glfw2::GetDesktopMode(&desktop);
    glfw2::CloseWindow();

    if (!OpenGlfwWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen)) {
        // A mode the screen cannot show still leaves the player a window.
        width = kFirstWidth;
        height = kFirstHeight;
        fullscreen = false;
        if (!OpenGlfwWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen)) {
            kpPrint(String("glfwOpenWindow failed"));
            std::exit(-1);
        }
    }
    ++glfwGraphicsSeq;

    if (!fullscreen) {
        // Without a monitor there is no desktop to centre on, and a window
        // centred on 0 x 0 would hang off the screen's corner.
        if (desktop.Width > 0 && desktop.Height > 0) {
            glfw2::SetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
        }
    }
    if (swapInterval >= 0) glfw2::SwapInterval(swapInterval);
    glfw2::Enable(glfw2::KEY_REPEAT);
    glfw2::Disable(glfw2::AUTO_POLL_EVENTS);
    InstallCallbacks();
}

void KpGlfwGame::UpdateEvents() {
    if (suspended) {
        glfw2::WaitEvents();
    } else {
        glfw2::PollEvents();
    }
    bool active = glfw2::GetWindowParam(glfw2::ACTIVE) != 0;
    if (active && suspended) {
        ResumeGame();
        nextUpdate = 0;
    } else if (!active && !suspended) {
        SuspendGame();
        nextUpdate = 0;
    }
}

void KpGlfwGame::Run() {
    SetGlfwWindow(kFirstWidth, kFirstHeight, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    while (glfw2::GetWindowParam(glfw2::OPENED)) {
        RenderGame();
        glfw2::SwapBuffers();
        if (nextUpdate != 0) glfw2::Sleep(nextUpdate - glfw2::GetTime());
        UpdateEvents();
        if (suspended) continue;
        if (updateRate == 0) {
            UpdateGame();
            continue;
        }
        RunUpdates();
    }
}

// Catches up with the update rate, at most four updates a frame; a backlog
// beyond that is dropped.
void KpGlfwGame::RunUpdates() {
    if (nextUpdate == 0) nextUpdate = glfw2::GetTime();
    for (int update = 0; update < kMaxUpdatesPerFrame; ++update) {
        UpdateGame();
        if (nextUpdate == 0) return;
        nextUpdate += updatePeriod;
        if (nextUpdate > glfw2::GetTime()) return;
    }
    nextUpdate = 0;
}
