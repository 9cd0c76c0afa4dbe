// Seeded headless play in a busy level, without a window.
//   play_bench update [N]      median and longest wall time of N updates after
//                              a warm-up; under callgrind only those N updates
//                              are instrumented
//   play_bench collector [N]   the collector over N updates: longest step,
//                              heap high-water mark, allocations per update
// Figures are printed as "FIGURE <name> <value> <unit>".
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/seeded_play.h"
#include "runtime/gc.h"

namespace {

constexpr std::uint32_t kSeed = 20261210;
constexpr int kWarmUp = 600;
constexpr int kUpdatesPerMinute = 3600;

void Figure(const char* name, double value, const char* unit) { std::printf("FIGURE %s %.4f %s\n", name, value, unit); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int MeasureUpdates(SeededPlay& play, int count) {
    std::vector<double> times;
    double longest = 0;
    long long commands = 0, particles = 0, runners = 0;
    int playing = 0;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < count; ++i) {
        UpdateTimes step = play.Step();
        times.push_back(step.update.wall);
        longest = std::max(longest, step.update.cpu);
        commands += play.App().m_DrawCount / 15;
        particles += play.LiveParticles();
        runners += play.Runners();
        playing += play.Playing() ? 1 : 0;
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    Figure("draw_commands_per_update", static_cast<double>(commands) / count, "commands");
    Figure("particles_per_update", static_cast<double>(particles) / count, "particles");
    Figure("runners_per_update", static_cast<double>(runners) / count, "runners");
    Figure("updates_in_play", 100.0 * playing / count, "%");
    Figure("tune_starts", play.TuneStarts(), "starts");
    Figure("update_median", Median(times) * 1e6, "us");
    Figure("update_longest_cpu", longest * 1e6, "us");
    Figure("updates_measured", count, "updates");
    return 0;
}

// What stays reachable: the heap after two whole collections (objects
// marked by the write barrier during the first one go in the second).
double LiveMegabytes() {
    gc_collect_all();
    gc_collect_all();
    return gc_alloced_bytes / 1048576.0;
}

int MeasureCollector(SeededPlay& play, int count) {
    double longest = 0;
    int highWaterAfterMinute = 0;
    double liveAfterMinute = 0;
    long long allocationsBefore = gc_alloc_count;
    for (int i = 0; i < count; ++i) {
        longest = std::max(longest, play.Step().collect.cpu);
        if (i + 1 == kUpdatesPerMinute) {
            highWaterAfterMinute = gc_max_alloced_bytes;
            liveAfterMinute = LiveMegabytes();
        }
    }
    double growth = 100.0 * (gc_max_alloced_bytes - highWaterAfterMinute) / std::max(1, highWaterAfterMinute);
    Figure("collector_longest_step", longest * 1e3, "ms");
    Figure("heap_high_water_first_minute", highWaterAfterMinute / 1048576.0, "MB");
    Figure("heap_high_water", gc_max_alloced_bytes / 1048576.0, "MB");
    Figure("heap_high_water_growth_after_first_minute", growth, "%");
    Figure("live_heap_first_minute", liveAfterMinute, "MB");
    Figure("live_heap_growth_after_first_minute", (LiveMegabytes() - liveAfterMinute) * 1024, "KB");
    Figure("allocations_per_update", static_cast<double>(gc_alloc_count - allocationsBefore) / count, "objects");
    Figure("games_played", play.Games(), "games");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "update";
    bool collector = std::strcmp(mode, "collector") == 0;
    if (!collector && std::strcmp(mode, "update") != 0) {
        std::fprintf(stderr, "usage: play_bench update|collector [updates]\n");
        return 2;
    }
    int count = argc > 2 ? std::atoi(argv[2]) : (collector ? 100000 : 3000);
    if (count < 1) count = 1;
    SeededPlay play(kSeed, false);
    for (int i = 0; i < kWarmUp; ++i) play.Step();
    return collector ? MeasureCollector(play, count) : MeasureUpdates(play, count);
}
