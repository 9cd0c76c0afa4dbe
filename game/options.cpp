#include "game/my_app.h"

// The quit dialog, the pause menu and the options box arrive with the menus.
int c_MyApp::p_OuyaQuit() { return 0; }

int c_MyApp::p_PauseMenu() { return 0; }

int c_MyApp::p_OptionBox() { return 0; }
