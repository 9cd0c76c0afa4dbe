#pragma once

#include <string>

// One configuration of the game's build switches, set after the game's
// globals are initialised and before the game starts. An iCade is not a
// switch but a device the player attaches: the game turns its translation
// on when asked and off at every suspend and resume.
struct GameSwitches {
    const char* name;
    int console = 0;
    int musicStream = 1;
    int iCade = 0;
    int tilt = 0;
    int onScreenPad = 0;

    void Apply() const;
};

// The desktop build as shipped, then each switch the shipped build leaves
// off turned on (and the music stream off); null for an unknown name.
const GameSwitches* FindSwitches(const std::string& name);
