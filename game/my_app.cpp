#include "game/my_app.h"

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    return this;
}

int c_MyApp::p_OnCreate() {
    kp_app_SetUpdateRate(60);
    return 0;
}
