#pragma once

#include <vector>

#include "framework/containers/random.h"

// The generator's state after `steps` draws from `seed`; the shared state
// is left as it was.
inline int Advance(int seed, int steps) {
    int saved = kp_random_Seed;
    kp_random_Seed = seed;
    for (int i = 0; i < steps; ++i) kp_random_Rnd();
    int result = kp_random_Seed;
    kp_random_Seed = saved;
    return result;
}

// The fractions that the next draws from `seed` give.
inline std::vector<float> Draws(int seed, int count) {
    int saved = kp_random_Seed;
    kp_random_Seed = seed;
    std::vector<float> draws;
    for (int i = 0; i < count; ++i) draws.push_back(kp_random_Rnd());
    kp_random_Seed = saved;
    return draws;
}
