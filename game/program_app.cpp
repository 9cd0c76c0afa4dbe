#include "game/my_app.h"
#include "host/kp_program.h"

int kpMain() {
    (new c_MyApp)->m_new();
    return 0;
}
