// Writes the numbered sound effects (sfx/NNN.wav) and the tune
// (sfx/Agile.ogg) into a data folder, and prints each one's duration, peak
// and RMS level.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "effects_audio.h"
#include "music.h"

using namespace sfx;

namespace {
void report(const char* name, const Stats& s) {
    std::printf("  %-14s %6.2f s  peak %6.1f dBFS  RMS %6.1f dBFS\n", name, s.seconds, 20 * std::log10(std::max(s.peak, 1e-9)),
                20 * std::log10(std::max(s.rms, 1e-9)));
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/sfx/";
    auto started = std::chrono::steady_clock::now();
    bool ok = true;
    for (const Effect& e : allEffects()) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.wav", e.number);
        std::vector<int16_t> pcm = toPcm(e.samples);
        ok &= writeWave(dir + name, pcm, 1);
        report(name, measure(pcm, 1));
    }
    std::vector<int16_t> tune = composeAgile();
    ok &= writeOgg(dir + "Agile.ogg", tune, 2, "Agile");
    report("Agile.ogg", measure(tune, 2));
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("sounds %s in %.2f s\n", ok ? "written" : "FAILED", secs);
    return ok ? 0 : 1;
}
