#pragma once

#include "runtime/gc.h"

// What the host calls in the app: lifecycle, frames and input events.
class KpGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int, int) {}
    virtual void MouseEvent(int, int, float, float) {}
    virtual void TouchEvent(int, int, float, float) {}
    virtual void MotionEvent(int, int, float, float, float) {}
    virtual void DiscardGraphics() {}
};
