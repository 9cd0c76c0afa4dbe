// Asks the window with the given title to close, as a window manager's close
// button does: a WM_DELETE_WINDOW message. Waits up to five seconds for the
// window to appear. Exits 0 when the request was sent.
#include <X11/Xlib.h>
#include <unistd.h>


#include "tests/support/x11_windows.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 3;
    Window window = 0;
    for (int attempt = 0; attempt < 50 && !window; ++attempt) {
        window = FindWindowByTitle(display, DefaultRootWindow(display), argv[1]);
        if (!window) usleep(100000);
    }
    if (!window) {
        XCloseDisplay(display);
        return 4;
    }
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &message);
    XCloseDisplay(display);
    return 0;
}
