#pragma once

#include "runtime/gc.h"

// A screen size the app can switch to.
class c_DisplayMode : public Object {
public:
    int m_width = 0;
    int m_height = 0;

    c_DisplayMode* m_new(int width, int height) {
        m_width = width;
        m_height = height;
        return this;
    }
    c_DisplayMode* m_new2() { return this; }
};
