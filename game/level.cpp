#include "game/my_app.h"

// Level layouts arrive with the play issue.
int c_MyApp::p_NewLay() { return 0; }
