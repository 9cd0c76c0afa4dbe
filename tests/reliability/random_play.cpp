// Plays the game on the windowless host like a restless player, through
// every mode, and checks after every update what must always hold (see
// PlayInvariants); at the end, that every mode was reached and that resident
// memory did not grow once warmed up. The game's tune is replaced by one of a
// fraction of a second, so that tunes end, and are paused before and after
// their end, many times in a short run. Arguments: the number of updates
// (else VANTAROO_SOAK_UPDATES, else a million), the seed (else 1) and the
// game's switches (desktop, console, no-music-stream, icade, tilt or
// on-screen-pad; else desktop).
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "framework/app/framework_globals.h"
#include "framework/input/input.h"
#include "game/my_app.h"
#include "tests/audio/sound_files.h"
#include "tests/reliability/game_switches.h"
#include "tests/reliability/play_invariants.h"
#include "tests/reliability/random_player.h"
#include "tests/support/game_test_host.h"

namespace {

enum Mode { kLoading, kMenu, kPlay, kPause, kOptions, kGameOver, kModes };
const char* const kModeNames[kModes] = {"loading", "menu", "play", "pause", "options", "game over"};

constexpr long kMemoryCheckEvery = 5000;
constexpr long kAllowedGrowthKb = 1024;
constexpr double kTuneSeconds = 0.05;
constexpr std::chrono::microseconds kUpdateWhileTunePlays{250};

Mode ModeOf(const c_MyApp& app) {
    if (app.m_LoaderStep > 0) return kLoading;
    if (app.m_OptionsOpen == 1) return kOptions;
    if (app.m_GameMode < 10) return kMenu;
    if (app.m_GameOverTimer > 0) return kGameOver;
    return app.m_Paused == 1 ? kPause : kPlay;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Resident memory with everything dead collected and handed back. Left to
// itself the collector starts a cycle only after 8 MB of new objects, which
// random play takes millions of updates to make, and the garbage of so long
// a stretch spreads the heap; collecting at every check keeps resident
// memory to what the game really holds.
long SettledKb() {
    gc_collect_all();
    gc_collect_all();
    gc_flush_free(gc_free_bytes);
    malloc_trim(0);
    return ResidentKb();
}

// The data folder beside the program, with every Ogg tune replaced by a
// short one; counts the tunes the game starts.
class ShortTuneHost : public GameTestHost {
public:
    explicit ShortTuneHost(std::string tune) : tune(std::move(tune)) {}

    String PathToFilePath(String path) override {
        if (!path.StartsWith(String("brisko://data/sfx/")) || !path.EndsWith(String(".ogg"))) {
            return GameTestHost::PathToFilePath(path);
        }
        ++tunesOpened;
        return String(tune.c_str());
    }

    long tunesOpened = 0;

private:
    std::string tune;
};

std::string WriteShortTune() {
    char folder[] = "/tmp/vantaroo-random-play-XXXXXX";
    if (!mkdtemp(folder)) return std::string();
    std::string path = std::string(folder) + "/tune.ogg";
    Tone tone;
    tone.channels = 2;
    tone.seconds = kTuneSeconds;
    return WriteOgg(path, tone) ? path : std::string();
}

long UpdatesWanted(int argc, char** argv) {
    if (argc > 1) return std::atol(argv[1]);
    const char* wanted = std::getenv("VANTAROO_SOAK_UPDATES");
    return wanted ? std::atol(wanted) : 1000000;
}

// The game ends the process itself (std::exit) on its quit keys and its
// fatal errors; ending inside the soak is a failure, whatever the status.
long updatesDone = -1;

void EndedEarly() {
    if (updatesDone < 0) return;
    std::fprintf(stderr, "FAILED: the program ended during update %ld\n", updatesDone + 1);
    std::fflush(stderr);
    std::_Exit(1);
}

c_MyApp* StartGame(GameTestHost* host, const GameSwitches& switches) {
    kp_framework_init();
    kp_VTR_init();
    switches.Apply();
    gc_add_roots(kp_framework_mark);
    gc_add_roots(kp_VTR_mark);
    c_MyApp* app = (new c_MyApp)->m_new();
    host->StartGame();
    return app;
}

// Resident memory, settled at the checks just after the warm-up and at the
// last ones. The least of each group counts, as a tune being decoded on
// another thread may take megabytes for a moment.
struct MemoryWatch {
    static constexpr long kSamples = 4;
    long warmedUp;
    long updates;
    long warmKb = LONG_MAX;
    long finalKb = LONG_MAX;

    void Check(long done) {
        long kb = SettledKb();
        if (done >= warmedUp && done < warmedUp + kSamples * kMemoryCheckEvery) warmKb = std::min(warmKb, kb);
        if (done > updates - kSamples * kMemoryCheckEvery) finalKb = std::min(finalKb, kb);
    }
};

bool EveryModeReached(const long (&spent)[kModes]) {
    bool reached = true;
    for (int mode = 0; mode < kModes; ++mode) {
        std::printf("  %-9s %8ld updates\n", kModeNames[mode], spent[mode]);
        if (mode != kLoading && spent[mode] == 0) reached = false;
    }
    if (!reached) std::printf("FAILED: a mode was never reached\n");
    return reached;
}

bool MemoryKept(const MemoryWatch& memory) {
    std::printf("resident memory: %ld kB after warm-up, %ld kB at the end\n", memory.warmKb, memory.finalKb);
#if defined(__SANITIZE_ADDRESS__)
    std::printf("memory check skipped: the sanitizer holds freed blocks back and keeps its own records\n");
    return true;
#else
    bool kept = memory.finalKb - memory.warmKb < kAllowedGrowthKb;
    if (!kept) std::printf("FAILED: resident memory grew by 1 MB or more\n");
    return kept;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // Blocks of 128 kB and more, like a tune decoded for each new game, come
    // and go as mappings of their own instead of spreading the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    long updates = UpdatesWanted(argc, argv);
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
    const GameSwitches* switches = FindSwitches(argc > 3 ? argv[3] : "desktop");
    std::string tune = WriteShortTune();
    if (!switches || tune.empty()) {
        std::printf("FAILED: %s\n", switches ? "no short tune could be written" : "no such switches");
        return 2;
    }
    auto* host = new ShortTuneHost(tune);
    c_MyApp* app = StartGame(host, *switches);
    RandomPlayer player(*host, *app, *switches, seed);
    PlayInvariants invariants(*app, *host, host->tunesOpened, kTuneSeconds);
    std::atexit(EndedEarly);

    auto started = std::chrono::steady_clock::now();
    long spent[kModes] = {};
    MemoryWatch memory{updates / 5, updates};
    for (updatesDone = 0; updatesDone < updates; ++updatesDone) {
        if (player.Away()) {
            // Time passes while the window is away; the host does not update.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            player.TurnAway();
            if (!player.Away()) invariants.Returned();
            continue;
        }
        player.Act();
        host->millisecs += 16;
        host->UpdateGame();
        // Tunes play in real time while updates race ahead; a little real
        // time per update while one plays lets levels outlast their tune.
        if (app->m_TunePlaying == 1 && app->m_Paused == 0) std::this_thread::sleep_for(kUpdateWhileTunePlays);
        ++spent[ModeOf(*app)];
        invariants.Check(updatesDone);
        if ((updatesDone + 1) % kMemoryCheckEvery == 0) memory.Check(updatesDone + 1);
    }
    updatesDone = -1;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%ld updates (seed %u, %s) in %.1f s, %ld tunes started\n", updates, seed, switches->name, seconds,
                host->tunesOpened);
    bool reached = EveryModeReached(spent);
    bool kept = MemoryKept(memory);
    bool held = invariants.Failures() == 0;
    if (!held) std::printf("FAILED: %d updates broke what must always hold\n", invariants.Failures());
    bool passed = reached && kept && held;
    std::filesystem::remove_all(std::filesystem::path(tune).parent_path());
    std::printf("%s\n", passed ? "PASSED" : "FAILED");
    return passed ? 0 : 1;
}
