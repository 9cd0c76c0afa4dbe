// 2,500 rotated, tinted sprites from one sheet per frame, drawn through the
// module's DrawImage2 and through SDL2's OpenGL renderer with batching on
// (SDL_RenderCopyEx with colour and alpha modulation), each in a 640 x 480
// window of this one run, swap interval 0. Rounds alternate between the two
// so that both meet the same machine. Prints as "FIGURE <name> <value>
// <unit>" the frames per second of each and ours over the peer's, with 20 x
// 20 sprites and with 2 x 2 sprites.
#include <GLFW/glfw3.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "bench/bench_clock.h"
#include "bench/sprite_scene.h"
#include "framework/app/app.h"
#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRounds = 3;
constexpr double kRoundSeconds = 1.0;
constexpr int kWarmUpFrames = 20;

void Figure(const std::string& name, double value, const char* unit) {
    std::printf("FIGURE %s %.4f %s\n", name.c_str(), value, unit);
}

// The module's renderer in a window of the window library.
class OurWindow {
public:
    bool Open() {
        static KpGlfwGame host;
        if (!glfw2::Init()) return false;
        host.SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
        window = glfwGetCurrentContext();
        if (!window) return false;
        glfw2::SwapInterval(0);
        kp_app_init();
        kp_app_ValidateDeviceWindow(false);
        kp_graphics_init();
        kp_graphics_SetGraphicsDevice(new gxtkGraphics);
        return true;
    }

    // SDL leaves its own context current.
    void MakeCurrent() { glfwMakeContextCurrent(window); }

    void DrawFrame(SpriteScene& scene) {
        MakeCurrent();
        scene.DrawBatched();
        glfw2::SwapBuffers();
    }

private:
    GLFWwindow* window = nullptr;
};

// SDL2's renderer on its OpenGL driver in a window of its own.
class PeerWindow {
public:
    ~PeerWindow() {
        for (SDL_Texture* sheet : sheets) SDL_DestroyTexture(sheet);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }

    bool Open() {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        window = SDL_CreateWindow("SDL2 peer", kWidth, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
        if (!window) return false;
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer) return false;
        SDL_RendererInfo info;
        SDL_GetRendererInfo(renderer, &info);
        return std::string(info.name) == "opengl" && SDL_RenderSetVSync(renderer, 0) == 0;
    }

    SDL_Texture* MakeSheet(int spriteSize) {
        int width = spriteSize * SpriteScene::kSheetFrames;
        SDL_Texture* sheet = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width,
                                               spriteSize);
        std::vector<std::uint32_t> pixels = SheetPixels(spriteSize);
        SDL_UpdateTexture(sheet, nullptr, pixels.data(), width * 4);
        SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND);
        sheets.push_back(sheet);
        return sheet;
    }

    // The window library's context may be current underneath SDL, which
    // then has to bind its own again before it draws.
    void DrawFrame(const SpriteScene& scene, SDL_Texture* sheet) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        int size = scene.SpriteSize();
        for (const Sprite& s : scene.Sprites()) {
            SDL_SetTextureColorMod(sheet, static_cast<Uint8>(s.red), static_cast<Uint8>(s.green),
                                   static_cast<Uint8>(s.blue));
            SDL_SetTextureAlphaMod(sheet, static_cast<Uint8>(s.alpha * 255));
            SDL_Rect source{s.frame * size, 0, size, size};
            float side = static_cast<float>(size) * s.scale;
            SDL_FRect target{s.x - side / 2, s.y - side / 2, side, side};
            // SDL turns clockwise on screen, the module counter-clockwise.
            SDL_RenderCopyExF(renderer, sheet, &source, &target, -s.rotation, nullptr, SDL_FLIP_NONE);
        }
        SDL_RenderPresent(renderer);
    }

private:
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> sheets;
};

double FramesPerSecond(const std::function<void()>& drawFrame) {
    for (int i = 0; i < kWarmUpFrames; ++i) drawFrame();
    int frames = 0;
    double start = Now();
    double elapsed = 0;
    while (elapsed < kRoundSeconds) {
        drawFrame();
        ++frames;
        elapsed = Now() - start;
    }
    return frames / elapsed;
}

void Compare(OurWindow& ours, PeerWindow& peer, int spriteSize) {
    ours.MakeCurrent();
    SpriteScene scene(spriteSize);
    SDL_Texture* sheet = peer.MakeSheet(spriteSize);
    double bestOurs = 0, bestPeer = 0;
    for (int round = 0; round < kRounds; ++round) {
        bestOurs = std::max(bestOurs, FramesPerSecond([&] { ours.DrawFrame(scene); }));
        bestPeer = std::max(bestPeer, FramesPerSecond([&] { peer.DrawFrame(scene, sheet); }));
    }
    std::string prefix = "sprites_" + std::to_string(spriteSize) + "px_";
    Figure(prefix + "ours", bestOurs, "fps");
    Figure(prefix + "sdl2", bestPeer, "fps");
    Figure(prefix + "ratio", bestOurs / bestPeer, "x");
}

}  // namespace

int main() {
    gc_init1();
    OurWindow ours;
    PeerWindow peer;
    if (!ours.Open() || !peer.Open()) {
        std::fprintf(stderr, "needs a display with OpenGL (run under xvfb-run): %s\n", SDL_GetError());
        return 1;
    }
    Compare(ours, peer, SpriteScene::kGameSpriteSize);
    Compare(ours, peer, 2);
    return 0;
}
