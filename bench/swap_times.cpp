// Preloaded into the unmodified program: each buffer swap goes on to the
// window library's own, and the monotonic time after it returns is appended
// to the file named by VANTAROO_SWAP_TIMES, one line of nanoseconds a swap.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

struct GLFWwindow;

namespace {

using SwapBuffers = void (*)(GLFWwindow*);

int OpenLog() {
    const char* path = std::getenv("VANTAROO_SWAP_TIMES");
    return path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
}

// A line lost would join two frames into one, so logging stops instead.
void Note(int& log) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    int length = std::snprintf(line, sizeof line, "%lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
    if (write(log, line, static_cast<size_t>(length)) == length) return;
    close(log);
    log = -1;
}

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    static auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static int log = OpenLog();
    if (real) real(window);
    if (log >= 0) Note(log);
}
