#include "tests/reliability/game_switches.h"

#include "game/my_app.h"

namespace {

const GameSwitches kConfigurations[] = {
    {"desktop"},
    {"console", 1, 1, 0, 0, 0},
    {"no-music-stream", 0, 0, 0, 0, 0},
    {"icade", 0, 1, 1, 0, 0},
    {"tilt", 0, 1, 0, 1, 0},
    {"on-screen-pad", 0, 1, 0, 0, 1},
};

}  // namespace

void GameSwitches::Apply() const {
    kp_VTR_isOuya = console;
    kp_VTR_HasMusicStream = musicStream;
    kp_VTR_AccelerometerControls = tilt;
    kp_VTR_OnScreenControls = onScreenPad;
}

const GameSwitches* FindSwitches(const std::string& name) {
    for (const GameSwitches& switches : kConfigurations) {
        if (name == switches.name) return &switches;
    }
    return nullptr;
}
