// Opens a small window titled "Other window" and gives it the keyboard
// focus, as a player does who turns to another program. It stays open until
// it is killed, or for a minute at most.
#include <X11/Xlib.h>
#include <unistd.h>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 3;
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0xffffff);
    XStoreName(display, window, "Other window");
    XSelectInput(display, window, StructureNotifyMask);
    XMapRaised(display, window);
    for (XEvent event; XNextEvent(display, &event) == 0 && event.type != MapNotify;) {
    }
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    sleep(60);
    XCloseDisplay(display);
    return 0;
}
