#include "bench/seeded_play.h"

#include "host/glfw2.h"
#include "host/kp_program.h"
#include "runtime/gc.h"

namespace {

constexpr int kLeftKey = 37;
constexpr int kRightKey = 39;
constexpr int kJumpKey = 90;
constexpr int kPlayMode = 10;
constexpr int kStartMode = 11;
constexpr int kMenuMode = 1;
constexpr int kNormalSpeed = 2;
constexpr int kObjectSlots = 101;
constexpr float kRunner = 1;
// Loading takes about 20 updates.
constexpr int kMenuUpdates = 120;

template <class Call> CallTime Timed(Call call) {
    double wall = Now(), cpu = ThreadCpuNow();
    call();
    return {Now() - wall, ThreadCpuNow() - cpu};
}

}  // namespace

UpdateTimes PlayBenchHost::TimedUpdate() {
    millisecs += 16;
    UpdateTimes times;
    times.update = Timed([this] { delegate->UpdateGame(); });
    times.collect = Timed([this] { gc_collect(); });
    return times;
}

void SeededPlay::Show() {
    host->RenderGame();
    glfw2::SwapBuffers();
    glfw2::PollEvents();
}

CallTime PlayBenchHost::TimedRender() {
    return Timed([this] { RenderGame(); });
}

SeededPlay::SeededPlay(std::uint32_t seed, bool windowed) : random(seed), host(new PlayBenchHost(windowed)) {
    gc_init1();
    if (windowed) {
        glfw2::Init();
        host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    }
    kpInit();
    app = (new c_MyApp)->m_new();
    host->StartGame();
    // As in the game, the loading screen and the title are on screen (and
    // their textures made) before play starts.
    for (int i = 0; i < kMenuUpdates; ++i) {
        host->TimedUpdate();
        if (windowed) Show();
    }
    StartGame();
}

std::uint32_t SeededPlay::Next() {
    random ^= random << 13;
    random ^= random >> 17;
    random ^= random << 5;
    return random;
}

bool SeededPlay::Playing() const { return app->m_GameMode == kPlayMode && app->m_LoaderStep == 0; }

void SeededPlay::Press(int key, bool down) { host->KeyEvent(down ? kKeyDown : kKeyUp, key); }

void SeededPlay::StartGame() {
    app->m_Difficulty = kNormalSpeed;
    app->m_GameMode = kStartMode;
    ++games;
}

// Runs for a while one way, now and then stands still; jumps every so often
// and holds the button long enough for the game to see it.
void SeededPlay::ChooseKeys() {
    if (--turnIn <= 0) {
        int previous = direction;
        direction = static_cast<int>(Next() % 5) - 2;
        if (direction > 1) direction = 1;
        if (direction < -1) direction = -1;
        turnIn = 8 + static_cast<int>(Next() % 40);
        if (previous != direction) {
            if (previous != 0) Press(previous < 0 ? kLeftKey : kRightKey, false);
            if (direction != 0) Press(direction < 0 ? kLeftKey : kRightKey, true);
        }
    }
    if (jumpHeld > 0 && --jumpHeld == 0) Press(kJumpKey, false);
    if (--jumpIn <= 0) {
        Press(kJumpKey, true);
        jumpHeld = 4 + static_cast<int>(Next() % 12);
        jumpIn = jumpHeld + 4 + static_cast<int>(Next() % 40);
    }
}

int SeededPlay::LiveParticles() const {
    int live = 0;
    for (int slot = 0; slot <= app->m_ParticleTop; ++slot) live += app->m_Particles[slot * 10] > 0 ? 1 : 0;
    return live;
}

int SeededPlay::Runners() const {
    int runners = 0;
    for (int slot = 0; slot < kObjectSlots; ++slot) runners += app->m_Objects[slot * 10] == kRunner ? 1 : 0;
    return runners;
}

// A runner enters from a side at a platform's height, as the game sends them.
void SeededPlay::TopUpRunners() {
    for (int runners = Runners(); runners < kBusyRunners; ++runners) {
        int slot = app->p_FreeObj(kObjectSlots - 1);
        if (slot < 0) return;
        float* runner = app->m_Objects.Data() + slot;
        bool fromRight = Next() % 2 == 0;
        runner[0] = kRunner;
        runner[1] = fromRight ? 640 + 64 : -64;
        runner[2] = static_cast<float>(16 * (5 * (1 + Next() % 5)) - 8);
        runner[3] = (fromRight ? -1.0f : 1.0f) * static_cast<float>(3 + Next() % 3);
        runner[4] = 0;
    }
}

void SeededPlay::TopUpParticles() {
    for (int live = LiveParticles(); live < kBusyParticles; ++live) {
        float x = static_cast<float>(Next() % 640);
        float y = static_cast<float>(Next() % 480);
        int kind = 1 + static_cast<int>(Next() % 3);
        app->p_ThrowParticle(x, y, kind, static_cast<int>(Next() % 10), -3717, -3717);
    }
}

UpdateTimes SeededPlay::Step() {
    if (app->m_LoaderStep == 0 && app->m_GameMode == kMenuMode) StartGame();
    if (Playing()) {
        ChooseKeys();
        TopUpParticles();
        TopUpRunners();
    }
    int tuneWas = app->m_TuneStarted;
    UpdateTimes times = host->TimedUpdate();
    if (tuneWas == 0 && app->m_TuneStarted == 1) ++tuneStarts;
    return times;
}
