#include "game/my_app.h"

// Settings, badges and highscores are not kept yet.
int c_MyApp::p_Load() { return 0; }

int c_MyApp::p_Save() { return 0; }

int c_MyApp::p_LoadMenu() { return 0; }
