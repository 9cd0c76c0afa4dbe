// Runs one fatal or printing path of the runtime so that a test can check the
// exit status and the exact bytes on the standard streams.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/kp_game.h"
#include "runtime/errors.h"
#include "runtime/gc.h"

namespace {

// Answers the stop protocol from this process: the test cannot know the
// address of an object before the probe creates it.
void feedStandardInput(const std::string& commands) {
    int ends[2];
    if (pipe(ends) != 0) return;
    if (write(ends[1], commands.data(), commands.size()) < 0) return;
    close(ends[1]);
    dup2(ends[0], STDIN_FILENO);
    close(ends[0]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string mode = argv[1];
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    gc_init1();

    if (mode == "quiet") kpError(String());
    if (mode == "error") kpError(String("x"));
    if (mode == "position") {
        dbg_info = "menu.cpp<42>";
        kpError(String("Null object access"));
    }
    if (mode == "print") {
        const Char text[] = {u'A', 0xE9, 0x20AC};
        kpPrint(String(text, 3));
        return 0;
    }
    if (mode == "die") KpGame().Die(new ThrowableObject);
    if (mode == "segv") std::raise(SIGSEGV);
    if (mode == "ill") std::raise(SIGILL);
    if (mode == "fpe") std::raise(SIGFPE);
    if (mode == "other") sighandler(SIGTERM);
    if (mode == "throw") {
        dbg_info = "play.cpp<7>";
        try {
            dbg_throw("Array index out of range");
        } catch (const char* message) {
            kpPrint(String(message));
            kpPrint(dbg_exstack);
        }
        return 0;
    }
    if (mode == "inspect") {
        Object* object = new Object;
        char commands[128];
        std::snprintf(commands, sizeof commands, "@%p\n@0\n@%p\n@junk\nq\n",
                      static_cast<void*>(object), static_cast<void*>(commands));
        feedStandardInput(commands);
        dbg_stop();
    }
    if (mode == "list") {
        gc_object* object = static_cast<gc_object*>(new Object);
        new Object;
        object->succ->pred = &gc_free_list;
        gc_validate_list(&gc_unmarked_list, "unmarked");
        return 0;
    }
    return 2;
}
