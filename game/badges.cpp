#include "game/my_app.h"

// Badge pop-ups arrive with the badges issue.
int c_MyApp::p_ShowBadges() { return 0; }
