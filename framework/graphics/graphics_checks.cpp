#include "framework/graphics/graphics_checks.h"

#include "framework/graphics/graphics.h"
#include "runtime/errors.h"

void kp_graphics__NullAccess() { kpError(String("Null object access")); }

void kp_graphics__CheckIndex(int index, int length) {
    if (index < 0 || index >= length) kpError(String("Array index out of range"));
}

gxtkGraphics* kp_graphics__RenderDevice() { return kp_graphics__NotNull(kp_graphics_renderDevice); }
