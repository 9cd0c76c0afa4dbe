#include "tests/support/x11_windows.h"

#include <X11/Xutil.h>

#include <cstring>

Window FindWindowByTitle(Display* display, Window parent, const char* title) {
    char* name = nullptr;
    if (XFetchName(display, parent, &name) && name) {
        bool match = std::strcmp(name, title) == 0;
        XFree(name);
        if (match) return parent;
    }
    Window root, grandparent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = FindWindowByTitle(display, children[i], title);
    if (children) XFree(children);
    return found;
}
