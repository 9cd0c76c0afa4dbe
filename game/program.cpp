#include "framework/app/framework_globals.h"
#include "game/my_app.h"
#include "host/kp_program.h"
#include "runtime/gc.h"

namespace {

// The collector's roots: the framework's globals, then the game's.
void MarkGlobals() {
    kp_framework_mark();
    kp_VTR_mark();
}

}  // namespace

void kpInit() {
    kp_framework_init();
    kp_VTR_init();
    gc_add_roots(MarkGlobals);
}
