// SDL2's renderer on its OpenGL driver with batching on, drawing the sprite
// scene (SDL_RenderCopyEx with colour and alpha modulation) in a 640 x 480
// window, as a user's SDL2 program would: in a process of its own.
//   sdl2_sprites fps <sprite size> <seconds>
//     swap interval 0; prints "FIGURE sprites_<size>px_sdl2 <fps> fps"
//   sdl2_sprites paced <sprites> <seconds> <times file>
//     renders, presents and sleeps to the next 1/60 s; writes the monotonic
//     time after each present, in nanoseconds, a line each
//   sdl2_sprites answering <sprites> <seconds>
//     the same loop, answering each key press: a marker on a dark band near
//     the bottom steps aside in the next frame drawn
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/sprite_layout.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kWarmUpFrames = 20;
// Where the game shows its menu's label, which changes as the cursor steps.
constexpr SDL_Rect kAnswerBand{240, 424, 200, 32};

class SdlSprites {
public:
    ~SdlSprites() {
        if (sheet) SDL_DestroyTexture(sheet);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }

    bool Open(int spriteSize, int count, bool vsync) {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        window = SDL_CreateWindow("SDL2 peer", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
                                  SDL_WINDOW_OPENGL);
        if (!window) return false;
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer) return false;
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(renderer, &info) != 0 || std::string(info.name) != "opengl") return false;
        if (SDL_RenderSetVSync(renderer, vsync ? 1 : 0) != 0) return false;
        size = spriteSize;
        sprites = SpriteLayout(count);
        return MakeSheet();
    }

    void DrawFrame(bool answering = false) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const Sprite& s : sprites) {
            SDL_SetTextureColorMod(sheet, static_cast<Uint8>(s.red), static_cast<Uint8>(s.green),
                                   static_cast<Uint8>(s.blue));
            SDL_SetTextureAlphaMod(sheet, static_cast<Uint8>(s.alpha * 255));
            SDL_Rect source{s.frame * size, 0, size, size};
            float side = static_cast<float>(size) * s.scale;
            SDL_FRect target{s.x - side / 2, s.y - side / 2, side, side};
            // SDL turns clockwise on screen, our module counter-clockwise.
            SDL_RenderCopyExF(renderer, sheet, &source, &target, -s.rotation, nullptr, SDL_FLIP_NONE);
        }
        if (answering) DrawAnswer();
        SDL_RenderPresent(renderer);
    }

    // A window nobody tends is taken for a hung one; key presses are
    // counted. False once asked to quit (SDL turns SIGTERM into that).
    bool TakeEvents() {
        SDL_Event event;
        bool goOn = true;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_KEYDOWN && event.key.repeat == 0) ++keyPresses;
            if (event.type == SDL_QUIT) goOn = false;
        }
        return goOn;
    }

private:
    void DrawAnswer() {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderFillRect(renderer, &kAnswerBand);
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
        SDL_Rect marker{kAnswerBand.x + 8 + 96 * (keyPresses % 2), kAnswerBand.y + 8, 16, 16};
        SDL_RenderFillRect(renderer, &marker);
    }

    bool MakeSheet() {
        int width = size * kSpriteSheetFrames;
        sheet = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, size);
        if (!sheet) return false;
        std::vector<std::uint32_t> pixels = SheetPixels(size);
        return SDL_UpdateTexture(sheet, nullptr, pixels.data(), width * 4) == 0 &&
               SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND) == 0;
    }

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* sheet = nullptr;
    int size = 0;
    int keyPresses = 0;
    std::vector<Sprite> sprites;
};

int FramesPerSecond(int spriteSize, double seconds) {
    SdlSprites peer;
    if (!peer.Open(spriteSize, kFullestFrameSprites, false)) return 1;
    for (int i = 0; i < kWarmUpFrames; ++i) peer.DrawFrame();
    int frames = 0;
    double start = Now();
    double elapsed = 0;
    while (elapsed < seconds) {
        peer.DrawFrame();
        peer.TakeEvents();
        ++frames;
        elapsed = Now() - start;
    }
    std::printf("FIGURE sprites_%dpx_sdl2 %.4f fps\n", spriteSize, frames / elapsed);
    return 0;
}

// Without a times file, the loop answers key presses instead.
int Paced(int count, double seconds, const char* timesFile) {
    SdlSprites peer;
    if (!peer.Open(kGameSpriteSize, count, false)) return 1;
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(1000000000 / 60);
    std::vector<long long> times;
    auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    auto next = Clock::now();
    while (Clock::now() < end && peer.TakeEvents()) {
        peer.DrawFrame(!timesFile);
        auto presented = Clock::now();
        times.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(presented.time_since_epoch()).count());
        next += period;
        // Behind, it paces from now rather than rushing to catch up.
        if (next < presented) next = presented;
        std::this_thread::sleep_until(next);
    }
    if (!timesFile) return 0;
    std::ofstream out(timesFile);
    for (long long t : times) out << t << '\n';
    return out.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    int result = 2;
    if (mode == "fps" && argc == 4) result = FramesPerSecond(std::atoi(argv[2]), std::atof(argv[3]));
    if (mode == "paced" && argc == 5) result = Paced(std::atoi(argv[2]), std::atof(argv[3]), argv[4]);
    if (mode == "answering" && argc == 4) result = Paced(std::atoi(argv[2]), std::atof(argv[3]), nullptr);
    if (result == 2) {
        std::fprintf(stderr, "usage: sdl2_sprites fps <sprite size> <seconds>\n"
                             "       sdl2_sprites paced <sprites> <seconds> <times file>\n"
                             "       sdl2_sprites answering <sprites> <seconds>\n");
    } else if (result != 0) {
        std::fprintf(stderr, "needs a display with OpenGL (run under xvfb-run): %s\n", SDL_GetError());
    }
    return result;
}
