// Stands in for the desktop's opener: writes to the file its argument names
// the signals it started with ignored and those it started with blocked.
#include <csignal>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    sigset_t blocked;
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    std::string ignoredList, blockedList;
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        // The C library refuses its own signals here; they are none of the game's.
        if (sigaction(signal, nullptr, &action) != 0) continue;
        if (action.sa_handler == SIG_IGN) ignoredList += " " + std::to_string(signal);
        if (sigismember(&blocked, signal) == 1) blockedList += " " + std::to_string(signal);
    }
    std::ofstream(argv[1]) << "ignored:" << ignoredList << "\nblocked:" << blockedList << "\n";
    return 0;
}
