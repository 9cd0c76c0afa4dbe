#include "host/kp_brisko_game.h"

#include <clocale>
#include <csignal>
#include <cstdlib>

#include "host/command_line.h"
#include "host/glfw2.h"
#include "host/kp_program.h"
#include "runtime/errors.h"

namespace {

void StartRuntime(int arguments, char** values) {
    argc = arguments;
    argv = values;
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init1();
}

}  // namespace

int KpBriskoGame::Main(int arguments, char** values) {
    if (!glfw2::Init()) {
        kpPrint(String("glfwInit failed"));
        ExplainNoDisplay(stderr);
        std::exit(1);
    }
    KpBriskoGame* host = new KpBriskoGame;
    StartRuntime(arguments, values);
    try {
        kpInit();
        gc_init2();
        kpMain();
    } catch (ThrowableObject* exception) {
        glfw2::Terminate();
        host->Die(exception);
    }
    if (host->Delegate()) host->Run();
    glfw2::Terminate();
    return 0;
}
