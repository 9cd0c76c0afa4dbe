// Starts the startup probe as a player starts the game and measures the time
// from the start to the first title frame, and the peak resident memory of
// the whole run. Usage: startup_bench <probe> window|small-window|full-screen <runs>
// Prints as "FIGURE <name> <value> <unit>" the median start-up time and the
// highest peak memory of the runs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_clock.h"

namespace {

struct Run {
    double seconds = -1;
    double peakMegabytes = 0;
};

Run StartOnce(const char* probe, const char* size) {
    int output[2];
    Run run;
    if (pipe(output) != 0) return run;
    double started = Now();
    pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        if (std::strcmp(size, "full-screen") == 0) setenv("VANTAROO_PROBE_FULL_SCREEN", "1", 1);
        if (std::strcmp(size, "small-window") == 0) setenv("VANTAROO_PROBE_SMALL_WINDOW", "1", 1);
        execl(probe, probe, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char chunk[256];
    for (ssize_t got; (got = read(output[0], chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(got));
    close(output[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
    std::size_t at = text.find("TITLE_FRAME ");
    if (at == std::string::npos) return run;
    double titleFrame = std::strtod(text.c_str() + at + 12, nullptr) * 1e-9;
    run.seconds = titleFrame - started;
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_bench <probe> window|small-window|full-screen <runs>\n");
        return 2;
    }
    std::vector<double> times;
    double peak = 0;
    for (int i = 0; i < std::max(1, std::atoi(argv[3])); ++i) {
        Run run = StartOnce(argv[1], argv[2]);
        if (run.seconds < 0) {
            std::fprintf(stderr, "the probe did not reach its title frame\n");
            return 1;
        }
        times.push_back(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
    }
    std::sort(times.begin(), times.end());
    std::string size = argv[2];
    std::printf("FIGURE startup_%s %.4f s\n", size.c_str(), times[times.size() / 2]);
    std::printf("FIGURE peak_memory_%s %.4f MB\n", size.c_str(), peak);
    return 0;
}
