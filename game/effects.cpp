#include "game/my_app.h"

// Stars and particles arrive with the play issue.
int c_MyApp::p_ResetStars(int) { return 0; }
