#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace e2e {

// An X server that loses its last client resets itself, and a program that
// connects meanwhile is turned away ("Connection reset by peer"); xvfb-run
// starts Xvfb without -noreset. The programs here end one before the next
// starts, so the suite keeps a connection of its own open throughout.
void KeepDisplayOpen() {
    static Display* display = [] {
        Display* opened = XOpenDisplay(nullptr);
        for (int attempt = 0; attempt < 40 && !opened; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            opened = XOpenDisplay(nullptr);
        }
        return opened;
    }();
    (void)display;
}

}  // namespace e2e
