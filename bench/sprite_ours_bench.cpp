// The fullest frame's sprites drawn through the module's DrawImage2 in a
// 640 x 480 window of the host, swap interval 0, in a process of its own as
// the game runs (with the host's allocator settings).
//   sprite_ours_bench <sprite size> <seconds>
// Prints "FIGURE sprites_<size>px_ours <fps> fps".
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_clock.h"
#include "bench/sprite_scene.h"
#include "framework/app/app.h"
#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kWarmUpFrames = 20;

bool OpenWindow() {
    static KpGlfwGame host;
    if (!glfw2::Init()) return false;
    host.SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
    if (!glfwGetCurrentContext()) return false;
    glfw2::SwapInterval(0);
    kp_app_init();
    kp_app_ValidateDeviceWindow(false);
    kp_graphics_init();
    kp_graphics_SetGraphicsDevice(new gxtkGraphics);
    return true;
}

void DrawFrame(SpriteScene& scene) {
    scene.DrawBatched();
    glfw2::SwapBuffers();
    glfw2::PollEvents();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sprite_ours_bench <sprite size> <seconds>\n");
        return 2;
    }
    int spriteSize = std::atoi(argv[1]);
    double seconds = std::atof(argv[2]);
    gc_init1();
    if (!OpenWindow()) {
        std::fprintf(stderr, "needs a display with OpenGL (run under xvfb-run)\n");
        return 1;
    }
    SpriteScene scene(spriteSize);
    for (int i = 0; i < kWarmUpFrames; ++i) DrawFrame(scene);
    int frames = 0;
    double start = Now();
    double elapsed = 0;
    while (elapsed < seconds) {
        DrawFrame(scene);
        ++frames;
        elapsed = Now() - start;
    }
    std::printf("FIGURE sprites_%dpx_ours %.4f fps\n", spriteSize, frames / elapsed);
    return 0;
}
