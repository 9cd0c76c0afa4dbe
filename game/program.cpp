#include "framework/app/app.h"
#include "game/my_app.h"
#include "host/kp_program.h"

namespace {

// Every module global that holds a reference, in the collector's root order.
void MarkGlobals() { kp_app_mark(); }

}  // namespace

void kpInit() {
    kp_app_init();
    gc_add_roots(MarkGlobals);
}

int kpMain() {
    (new c_MyApp)->m_new();
    return 0;
}
