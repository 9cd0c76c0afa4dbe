// CPU time of the game's fullest frame drawn through the batched renderer,
// against the same frame drawn one immediate-mode draw per sprite. Exits
// with 1 when the batched frame takes more than 10 draw calls or is not
// faster than the naive one.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/sprite_scene.h"
#include "framework/app/app.h"
#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

constexpr int kDrawCallBudget = 10;

std::unique_ptr<SpriteScene> scene;

struct FrameFigures {
    double cpuSeconds = 0;
    int drawCalls = 0;
};

std::map<std::string, FrameFigures> figures;

void Measure(benchmark::State& state, int (SpriteScene::*draw)()) {
    int drawCalls = 0;
    for (auto _ : state) {
        drawCalls = ((*scene).*draw)();
        glFinish();
    }
    state.counters["sprites_per_second"] =
        benchmark::Counter(SpriteScene::kSprites, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["draw_calls_per_frame"] = drawCalls;
}

void BM_BatchedFrame(benchmark::State& state) { Measure(state, &SpriteScene::DrawBatched); }
void BM_ImmediateFrame(benchmark::State& state) { Measure(state, &SpriteScene::DrawImmediate); }

BENCHMARK(BM_BatchedFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImmediateFrame)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's figures per frame for the comparison.
class Recorder : public benchmark::ConsoleReporter {
public:
    Recorder() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
            FrameFigures& f = figures[run.run_name.function_name];
            f.cpuSeconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            f.drawCalls = static_cast<int>(run.counters.at("draw_calls_per_frame").value);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

bool OpenWindow() {
    static KpGlfwGame host;
    if (!glfw2::Init()) return false;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    kp_app_init();
    kp_app_ValidateDeviceWindow(false);
    kp_graphics_init();
    kp_graphics_SetGraphicsDevice(new gxtkGraphics);
    return true;
}

void PrintPath(const char* name, const FrameFigures& f) {
    std::printf("%-10s %8.3f ms CPU per frame, %12.0f sprites per second, %5d draw calls per frame\n", name,
                f.cpuSeconds * 1e3, SpriteScene::kSprites / f.cpuSeconds, f.drawCalls);
}

int Summarise() {
    const FrameFigures& batched = figures["BM_BatchedFrame"];
    const FrameFigures& naive = figures["BM_ImmediateFrame"];
    if (batched.cpuSeconds <= 0 || naive.cpuSeconds <= 0) return 0;
    double ratio = naive.cpuSeconds / batched.cpuSeconds;
    PrintPath("batched", batched);
    PrintPath("immediate", naive);
    std::printf("immediate / batched CPU time: %.2f\n", ratio);
    bool withinCalls = batched.drawCalls <= kDrawCallBudget;
    bool faster = ratio > 1;
    std::printf("budget: at most %d draw calls: %s; faster than immediate mode: %s\n", kDrawCallBudget,
                withinCalls ? "met" : "MISSED", faster ? "met" : "MISSED");
    return withinCalls && faster ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    gc_init1();
    if (!OpenWindow()) {
        std::fprintf(stderr, "needs a display (run under xvfb-run)\n");
        return 1;
    }
    scene = std::make_unique<SpriteScene>();
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    return Summarise();
}
