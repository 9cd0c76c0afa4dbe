#pragma once

#include <cmath>

// The game's number rules: float-to-int conversion truncates toward zero;
// angles are degrees, converted with the float nearest pi/180, and their
// sine and cosine are taken in double precision and kept as floats.
inline int Trunc(float value) { return static_cast<int>(value); }

constexpr float kDegreesToRadians = 0.017453292f;

inline float SinDeg(float degrees) {
    return static_cast<float>(std::sin(static_cast<double>(degrees * kDegreesToRadians)));
}

inline float CosDeg(float degrees) {
    return static_cast<float>(std::cos(static_cast<double>(degrees * kDegreesToRadians)));
}
