// Seeded play in a 640 x 480 window with sound, rendered after every update.
// Prints as "FIGURE <name> <value> <unit>":
//   the longest single update and render over the run (every level's tune
//   start included), and as "LONGEST" lines the five longest updates with
//   what happened in them;
//   for the busiest frame of the run, and for a list of 2,500 commands in the
//   same grouping, the CPU time of a render up to the end of the frame and
//   its OpenGL draw calls.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/seeded_play.h"
#include "framework/graphics/graphics.h"
#include "host/glfw2.h"

namespace {

constexpr std::uint32_t kSeed = 20261210;
constexpr int kFloatsPerCommand = 15;
constexpr int kFullList = 2500;
constexpr int kTimedRenders = 300;

void Figure(const char* name, double value, const char* unit) { std::printf("FIGURE %s %.4f %s\n", name, value, unit); }

// An update and what it did that others did not.
struct TimedUpdate {
    double cpu = 0;
    double wall = 0;
    int number = 0;
    std::string cause;
    long pageFaults = 0;
};

// Page faults of this thread so far: the kernel's time for them counts as
// the update's.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

std::string Cause(int modeBefore, int modeAfter, bool tuneStarted) {
    std::string cause;
    if (modeBefore != modeAfter) cause = "mode " + std::to_string(modeBefore) + " to " + std::to_string(modeAfter);
    if (tuneStarted) cause += cause.empty() ? "tune start" : ", tune start";
    return cause.empty() ? "play" : cause;
}

// Keeps the five longest by CPU time.
void Keep(std::vector<TimedUpdate>& longest, const TimedUpdate& update) {
    longest.push_back(update);
    std::sort(longest.begin(), longest.end(), [](const TimedUpdate& a, const TimedUpdate& b) { return a.cpu > b.cpu; });
    if (longest.size() > 5) longest.pop_back();
}

std::vector<float> CurrentList(c_MyApp& app) {
    const float* list = app.m_DrawList.Data();
    return std::vector<float>(list, list + app.m_DrawCount);
}

// Each run of commands on one image grows in proportion, so the list keeps
// the frame's order of images and with it its batches.
std::vector<float> Stretched(const std::vector<float>& list, int commands) {
    int have = static_cast<int>(list.size()) / kFloatsPerCommand;
    std::vector<float> stretched;
    int start = 0;
    while (start < have) {
        int end = start;
        while (end < have && list[end * kFloatsPerCommand] == list[start * kFloatsPerCommand]) ++end;
        long long wanted = static_cast<long long>(end) * commands / have - static_cast<long long>(start) * commands / have;
        for (long long i = 0; i < wanted; ++i) {
            const float* command = list.data() + (start + i % (end - start)) * kFloatsPerCommand;
            stretched.insert(stretched.end(), command, command + kFloatsPerCommand);
        }
        start = end;
    }
    return stretched;
}

// Median CPU time of rendering `list`, and the draw calls it takes.
void MeasureFrame(SeededPlay& play, const std::vector<float>& list, const char* name) {
    c_MyApp& app = play.App();
    std::copy(list.begin(), list.end(), app.m_DrawList.Data());
    app.m_DrawCount = static_cast<int>(list.size());
    std::vector<double> times;
    for (int i = 0; i < kTimedRenders; ++i) {
        times.push_back(play.Host().TimedRender().cpu);
        glfw2::SwapBuffers();
    }
    std::sort(times.begin(), times.end());
    char figure[64];
    std::snprintf(figure, sizeof figure, "%s_commands", name);
    Figure(figure, static_cast<double>(list.size()) / kFloatsPerCommand, "commands");
    std::snprintf(figure, sizeof figure, "%s_render_cpu", name);
    Figure(figure, times[times.size() / 2] * 1e3, "ms");
    std::snprintf(figure, sizeof figure, "%s_draw_calls", name);
    Figure(figure, kp_graphics_device->Stats().drawCalls, "calls");
}

}  // namespace

int main(int argc, char** argv) {
    int updates = argc > 1 ? std::atoi(argv[1]) : 12000;
    SeededPlay play(kSeed, true);
    if (!glfw2::GetWindowParam(glfw2::OPENED)) {
        std::fprintf(stderr, "needs a display (run under xvfb-run)\n");
        return 1;
    }
    CallTime longestUpdate, longestRender;
    std::vector<float> busiest;
    std::vector<TimedUpdate> longestUpdates;
    for (int i = 0; i < updates; ++i) {
        int modeBefore = play.App().m_GameMode, tunesBefore = play.TuneStarts();
        long faultsBefore = PageFaults();
        CallTime update = play.Step().update;
        Keep(longestUpdates,
             {update.cpu, update.wall, i, Cause(modeBefore, play.App().m_GameMode, play.TuneStarts() != tunesBefore),
              PageFaults() - faultsBefore});
        CallTime render = play.Host().TimedRender();
        longestUpdate = {std::max(longestUpdate.wall, update.wall), std::max(longestUpdate.cpu, update.cpu)};
        longestRender = {std::max(longestRender.wall, render.wall), std::max(longestRender.cpu, render.cpu)};
        glfw2::SwapBuffers();
        glfw2::PollEvents();
        if (play.App().m_DrawCount > static_cast<int>(busiest.size())) busiest = CurrentList(play.App());
    }
    for (const TimedUpdate& update : longestUpdates) {
        std::printf("LONGEST update %d: %.3f ms CPU, %.3f ms wall, %ld page faults: %s\n", update.number,
                    update.cpu * 1e3, update.wall * 1e3, update.pageFaults, update.cause.c_str());
    }
    Figure("tune_starts", play.TuneStarts(), "starts");
    Figure("longest_update_cpu", longestUpdate.cpu * 1e3, "ms");
    Figure("longest_update_wall", longestUpdate.wall * 1e3, "ms");
    Figure("longest_render_cpu", longestRender.cpu * 1e3, "ms");
    Figure("longest_render_wall", longestRender.wall * 1e3, "ms");
    MeasureFrame(play, busiest, "busiest_frame");
    MeasureFrame(play, Stretched(busiest, kFullList), "full_list");
    return 0;
}
