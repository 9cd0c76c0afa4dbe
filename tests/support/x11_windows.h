#pragma once

#include <X11/Xlib.h>

// The first window below `parent` (itself included) with the given title, or 0.
Window FindWindowByTitle(Display* display, Window parent, const char* title);
