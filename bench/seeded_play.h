#pragma once

#include <cstdint>

#include "bench/bench_clock.h"
#include "game/my_app.h"
#include "host/kp_glfw_game.h"

struct CallTime {
    double wall = 0;
    double cpu = 0;
};

struct UpdateTimes {
    CallTime update;
    CallTime collect;
};

// A host for measured play: a clock that advances 16 ms per update, the
// saved state kept in memory and no pads. Without a window it reports a
// 640 x 480 device and OpenGL calls do nothing; with one it is the real
// window host.
class PlayBenchHost : public KpGlfwGame {
public:
    explicit PlayBenchHost(bool windowed) : windowed(windowed) {}

    int millisecs = 0;
    String state;

    int Millisecs() override { return millisecs; }
    String LoadState() override { return state; }
    int SaveState(String saved) override {
        state = saved;
        return 0;
    }
    bool PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) override { return false; }
    int GetDeviceWidth() override { return windowed ? KpGlfwGame::GetDeviceWidth() : 640; }
    int GetDeviceHeight() override { return windowed ? KpGlfwGame::GetDeviceHeight() : 480; }

    // One update as the loop runs it, with the delegate's update and the
    // collector step that follows it timed apart.
    UpdateTimes TimedUpdate();
    // One render as the loop runs it, without the buffer swap.
    CallTime TimedRender();

private:
    bool windowed;
};

// The game started at Normal speed and played by a seeded bot: runs, jumps,
// turns at random, starts a new game after each game over. Particles and
// runners are topped up to a level's busiest counts so every update has the
// full load.
class SeededPlay {
public:
    static constexpr int kBusyParticles = 250;
    static constexpr int kBusyRunners = 4;

    // Opens the 640 x 480 window first when `windowed`.
    SeededPlay(std::uint32_t seed, bool windowed);

    // Chooses this update's keys, runs the update and keeps the level busy.
    UpdateTimes Step();
    // Renders the frame and puts it on screen.
    void Show();

    PlayBenchHost& Host() { return *host; }
    c_MyApp& App() { return *app; }
    int TuneStarts() const { return tuneStarts; }
    int LiveParticles() const;
    int Runners() const;
    int Games() const { return games; }
    bool Playing() const;

private:
    std::uint32_t Next();
    void Press(int key, bool down);
    void ChooseKeys();
    void StartGame();
    void TopUpParticles();
    void TopUpRunners();

    std::uint32_t random;
    PlayBenchHost* host;
    c_MyApp* app;
    int direction = 0;
    int turnIn = 0;
    int jumpIn = 0;
    int jumpHeld = 0;
    int tuneStarts = 0;
    int games = 0;
};
