#include "game/my_app.h"

// Play and the game-over sequence arrive with the play issue.
int c_MyApp::p_Game() { return 0; }

int c_MyApp::p_GameOver() { return 0; }
