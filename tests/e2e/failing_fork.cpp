// Preloaded into the program: its first FAILING_FORKS forks fail as when the
// player's processes are at their limit.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

extern "C" pid_t fork() {
    static std::atomic<int> failures{std::atoi(std::getenv("FAILING_FORKS") ? std::getenv("FAILING_FORKS") : "0")};
    if (failures.fetch_sub(1) > 0) {
        errno = EAGAIN;
        return -1;
    }
    static auto realFork = reinterpret_cast<pid_t (*)()>(dlsym(RTLD_NEXT, "fork"));
    return realFork();
}
