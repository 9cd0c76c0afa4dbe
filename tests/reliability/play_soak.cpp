// Plays the game on the windowless host for many updates with seeded random
// keys, mouse presses and window switches, then checks that every mode was
// reached, that the collector's lists stayed whole and that resident memory
// did not grow once warmed up. The number of updates is the first argument,
// else VANTAROO_SOAK_UPDATES, else a million; the seed is the second
// argument, else 1.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "framework/app/framework_globals.h"
#include "framework/input/input.h"
#include "game/my_app.h"
#include "tests/support/game_test_host.h"

namespace {

enum Mode { kLoading, kMenu, kPlay, kPause, kOptions, kGameOver, kModes };
const char* const kModeNames[kModes] = {"loading", "menu", "play", "pause", "options", "game over"};

constexpr long kValidateEvery = 5000;
constexpr long kAllowedGrowthKb = 1024;

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

void ValidateCollector() {
    gc_validate_list(&gc_unmarked_list, "unmarked");
    gc_validate_list(&gc_queued_list, "queued");
    gc_validate_list(&gc_marked_list, "marked");
    gc_validate_list(&gc_free_list, "free");
}

// A player who holds one direction and one button at a time, now and then
// presses the mouse somewhere and drags it, and leaves the window. F4 and
// the window's close button would end the program, so they are never used;
// nor is the back key where it would end it, on the title.
class RandomPlayer {
public:
    RandomPlayer(GameTestHost& host, unsigned seed) : host(host), random(seed) {}

    void Act(const c_MyApp& app) {
        bool backEndsTheGame = app.m_GameMode < 10 && app.m_OptionsOpen == 0;
        if (backEndsTheGame && button.key == kBack) Let(button);
        Play(direction, kDirections, 30, 60, 0);
        Play(button, kButtons, 40, 30, backEndsTheGame ? kBack : 0);
        Mouse();
        if (Chance(10000)) {
            host.SuspendGame();
            host.ResumeGame();
        }
    }

private:
    struct Held {
        int key = 0;
        int updatesLeft = 0;
    };

    static constexpr int kBack = 27;
    static constexpr int kDirections[] = {37, 38, 39, 40};
    // Fire and the other buttons, back, F1 (figures), F2 (score line) and F11
    // (full screen).
    static constexpr int kButtons[] = {90, 88, 67, 86, 66, 78, kBack, 112, 113, 122};

    bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(random) == 1; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // Lets the held key go when its time is up, or now and then presses a
    // new one, other than `forbidden`.
    template <std::size_t N> void Play(Held& held, const int (&keys)[N], int oneIn, int longest, int forbidden) {
        if (held.key != 0 && --held.updatesLeft <= 0) Let(held);
        if (held.key != 0 || !Chance(oneIn)) return;
        int key = keys[Between(0, static_cast<int>(N) - 1)];
        if (key == forbidden) return;
        held = {key, Between(1, longest)};
        host.KeyEvent(kKeyDown, key);
    }

    void Let(Held& held) {
        host.KeyEvent(kKeyUp, held.key);
        held.key = 0;
    }

    void Mouse() {
        if (mouse.key != 0) {
            mouseX += static_cast<float>(Between(-20, 20));
            mouseY += static_cast<float>(Between(-20, 20));
            host.MouseEvent(kMouseMove, -1, mouseX, mouseY);
            if (--mouse.updatesLeft <= 0) {
                host.MouseEvent(kMouseUp, 0, mouseX, mouseY);
                mouse.key = 0;
            }
            return;
        }
        if (!Chance(200)) return;
        mouseX = static_cast<float>(Between(0, host.width - 1));
        mouseY = static_cast<float>(Between(0, host.height - 1));
        mouse = {1, Between(1, 20)};
        host.MouseEvent(kMouseDown, 0, mouseX, mouseY);
    }

    GameTestHost& host;
    std::mt19937 random;
    Held direction, button, mouse;
    float mouseX = 0, mouseY = 0;
};

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

c_MyApp* StartGame(GameTestHost* host) {
    kp_framework_init();
    kp_VTR_init();
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
        if (done >= warmedUp && done < warmedUp + kSamples * kValidateEvery) warmKb = std::min(warmKb, kb);
        if (done > updates - kSamples * kValidateEvery) finalKb = std::min(finalKb, kb);
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
    auto* host = new GameTestHost;
    c_MyApp* app = StartGame(host);
    RandomPlayer player(*host, seed);
    std::atexit(EndedEarly);

    auto started = std::chrono::steady_clock::now();
    long spent[kModes] = {};
    MemoryWatch memory{updates / 5, updates};
    for (updatesDone = 0; updatesDone < updates; ++updatesDone) {
        player.Act(*app);
        host->millisecs += 16;
        host->UpdateGame();
        ++spent[ModeOf(*app)];
        if ((updatesDone + 1) % kValidateEvery != 0) continue;
        ValidateCollector();
        memory.Check(updatesDone + 1);
    }
    updatesDone = -1;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%ld updates (seed %u) in %.1f s\n", updates, seed, seconds);
    bool reached = EveryModeReached(spent);
    bool kept = MemoryKept(memory);
    std::printf("%s\n", reached && kept ? "PASSED" : "FAILED");
    return reached && kept ? 0 : 1;
}
