#pragma once

#include "native/graphics/gxtk_graphics.h"

// Caller errors the module would otherwise turn into stray memory accesses
// end the program with the runtime's error instead.
[[noreturn]] void kp_graphics__NullAccess();
void kp_graphics__CheckIndex(int index, int length);

template <class T> T* kp_graphics__NotNull(T* object) {
    if (!object) kp_graphics__NullAccess();
    return object;
}

// The renderer of the frame being rendered.
gxtkGraphics* kp_graphics__RenderDevice();
