#include "framework/containers/random.h"

#include <cstdint>

int kp_random_Seed;

void kp_random_init() { kp_random_Seed = 1234; }

// A linear congruential step modulo 2^32; the top 24 bits give the fraction.
float kp_random_Rnd() {
    auto seed = static_cast<std::uint32_t>(kp_random_Seed) * 1664525u + 1013904223u;
    kp_random_Seed = static_cast<int>(seed);
    return static_cast<float>(seed >> 8) * (1.0f / 16777216.0f);
}

float kp_random_Rnd2(float low, float high) { return low + (high - low) * kp_random_Rnd(); }

float kp_random_Rnd3(float range) { return kp_random_Rnd() * range; }

int kp_math_Abs(int value) { return value >= 0 ? value : -value; }

float kp_math_Abs2(float value) { return value >= 0 ? value : -value; }

int kp_math_Max(int a, int b) { return a > b ? a : b; }

float kp_math_Max2(float a, float b) { return a > b ? a : b; }
