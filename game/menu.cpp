#include "game/my_app.h"

// The title screen until the menu with its speed wheel arrives: the logo on
// the night sky.
int c_MyApp::p_Menu() {
    p_CLS2D(16, 20, 44, 1);
    p_DrawImg(98, kp_VTR_jscrw / 2, kp_VTR_jscrh * 0.4f, 0);
    return 0;
}
