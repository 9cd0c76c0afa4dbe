#pragma once

#include "host/kp_glfw_game.h"

// The process arguments, stored at start.
extern int argc;
extern char** argv;

class KpBriskoGame : public KpGlfwGame {
public:
    ~KpBriskoGame() override {}

    // Starts the window library and the runtime, creates the app and runs
    // the host loop.
    static int Main(int argc, char** argv);
};
