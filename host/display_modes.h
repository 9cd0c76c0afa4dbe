#pragma once

#include "runtime/gc.h"

// A screen mode as the framework sees it; this host fills width and height.
class KpDisplayMode : public Object {
public:
    int width = 0;
    int height = 0;
    int format = 0;
    int hertz = 0;
    int flags = 0;
};

// A full video mode of the window library.
class KpGlfwVideoMode : public Object {
public:
    int width = 0;
    int height = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};
