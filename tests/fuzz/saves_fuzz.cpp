// The saved-state loader: c_MyApp::p_Load on the state file's bytes, read
// as the host reads the file. Whatever it loads must save and load back
// unchanged.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/app/framework_globals.h"
#include "game/my_app.h"
#include "host/kp_game.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Keeps the saved state in memory instead of the state file.
class MemoryStateHost : public KpGame {
public:
    String state;

    String LoadState() override { return state; }
    int SaveState(String saved) override {
        state = saved;
        return 0;
    }
};

MemoryStateHost* host;
c_MyApp* app;

void MarkGlobals() {
    kp_framework_mark();
    kp_VTR_mark();
}

// What a new app holds when it starts loading.
void SetDefaults() {
    for (int i = 0; i < app->m_Settings.Length(); ++i) app->m_Settings[i] = 0;
    app->m_Settings[5] = 1;
    for (int i = 0; i < app->m_Badges.Length(); ++i) app->m_Badges[i] = false;
    for (int i = 0; i < app->m_HighScores.Length(); ++i) app->m_HighScores[i] = 0;
}

struct Loaded {
    std::vector<int> settings;
    std::vector<bool> badges;
    std::vector<int> highScores;

    bool operator==(const Loaded&) const = default;
};

Loaded LoadFrom(const String& state) {
    host->state = state;
    SetDefaults();
    app->p_Load();
    const Array<int>& settings = app->m_Settings;
    const Array<int>& scores = app->m_HighScores;
    return Loaded{std::vector<int>(settings.Data(), settings.Data() + settings.Length()),
                  std::vector<bool>(app->m_Badges.Data(), app->m_Badges.Data() + app->m_Badges.Length()),
                  std::vector<int>(scores.Data(), scores.Data() + scores.Length())};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    host = new MemoryStateHost;
    kp_framework_init();
    kp_VTR_init();
    gc_add_roots(MarkGlobals);
    gc_init2();
    app = (new c_MyApp)->m_new();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputStream file(data, size);
    Loaded first = LoadFrom(String::Load(file.File()));
    app->p_Save();
    if (!(LoadFrom(host->state) == first)) {
        std::fputs("The loaded state does not save and load back the same\n", stderr);
        std::abort();
    }
    CollectGarbage();
    return 0;
}
