#pragma once

#include "host/kp_glfw_game.h"
#include "host/program_arguments.h"

class KpBriskoGame : public KpGlfwGame {
public:
    ~KpBriskoGame() override {}

    // Starts the window library and the runtime, creates the app and runs
    // the host loop.
    static int Main(int argc, char** argv);
};
