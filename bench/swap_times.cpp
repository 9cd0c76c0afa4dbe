// Preloaded into an unmodified program: each buffer swap (GLFW's, or an SDL2
// renderer's present) goes on to the library's own; the monotonic time after
// it returns is appended to the file named by VANTAROO_SWAP_TIMES, one line
// of nanoseconds a swap, and handed to the answer watch.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench/answer_watch.h"

struct GLFWwindow;
struct SDL_Renderer;

namespace {

int OpenLog() {
    const char* path = std::getenv("VANTAROO_SWAP_TIMES");
    return path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
}

std::int64_t Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// A line lost would join two frames into one, so logging stops instead.
void Note(std::int64_t time) {
    static int log = OpenLog();
    if (log < 0) return;
    char line[32];
    int length = std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(time));
    if (write(log, line, static_cast<size_t>(length)) == length) return;
    close(log);
    log = -1;
}

void AfterSwap() {
    std::int64_t time = Now();
    Note(time);
    WatchForAnswer(time);
}

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    static auto real = reinterpret_cast<void (*)(GLFWwindow*)>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    if (real) real(window);
    AfterSwap();
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    static auto real = reinterpret_cast<void (*)(SDL_Renderer*)>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    if (real) real(renderer);
    AfterSwap();
}
