// The game's numbered sound effects.
#pragma once

#include <vector>

#include "synth.h"

namespace sfx {

struct Effect {
    int number;  // written as sfx/NNN.wav
    Buffer samples;
};

std::vector<Effect> allEffects();

}  // namespace sfx
