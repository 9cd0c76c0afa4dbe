#include "framework/app/framework_globals.h"
#include "game/my_app.h"
#include "host/kp_program.h"
#include "runtime/gc.h"

void kpInit() {
    kp_framework_init();
    kp_VTR_init();
    gc_add_roots(kp_framework_mark);
}

int kpMain() {
    (new c_MyApp)->m_new();
    return 0;
}
