#include <algorithm>
#include <cmath>

#include "framework/app/app.h"
#include "framework/containers/random.h"
#include "game/game_math.h"
#include "game/my_app.h"

namespace {

constexpr int kRecordFloats = 10;
constexpr int kMaxTop = 499;
constexpr float kNotGiven = -3717;
constexpr float kKeep = -123;
// Colour arguments below this keep the previous target.
constexpr int kLowestTarget = -122;

// Particle slots.
constexpr int kKind = 0;
constexpr int kX = 1;
constexpr int kY = 2;
constexpr int kVX = 3;
constexpr int kVY = 4;
constexpr int kRotation = 5;
constexpr int kBounceY = 5;
constexpr int kSpin = 6;
constexpr int kAlpha = 7;
constexpr int kColour = 8;
constexpr int kValue = 9;

constexpr int kDragged = 2;
constexpr int kBouncing = 3;
constexpr int kSlowFading = 4;
constexpr int kBlock = 16;
constexpr int kPoints = 99;

constexpr int kSpriteImage = 96;

float* Particle(const c_MyApp& app, int at) { return app.m_Particles.Data() + at; }

// Counts from 1 to kMaxTop replace the stored one; other counts use it.
void StoreCount(int& stored, int n) {
    if (n >= 1 && n <= kMaxTop) stored = n;
}

void Accelerate(float* p) {
    int kind = Trunc(p[kKind]);
    if (kind == kDragged) {
        p[kVX] *= 0.95f;
        p[kVY] += 0.2f;
    } else if (kind == kBouncing) {
        p[kVX] *= 0.98f;
        p[kVY] += 0.2f;
        if (p[kBounceY] < p[kY]) p[kVY] = 2 * kp_random_Rnd() - 3;
    }
}

void Move(c_MyApp& app, float* p) {
    p[kX] += p[kVX];
    p[kY] += p[kVY];
    p[kRotation] += p[kSpin];
    app.p_SetRot(Trunc(p[kKind]) == kPoints ? 0 : -p[kRotation]);
    Accelerate(p);
}

// Points markers stay upright; blocks snap to the cell grid.
void Draw(c_MyApp& app, const float* p) {
    int kind = Trunc(p[kKind]);
    if (p[kKind] > 0 && p[kKind] < 10) {
        app.p_DrawImg(kSpriteImage, p[kX], p[kY], p[kValue]);
    } else if (kind == kBlock) {
        app.p_Rect(16 * std::floor(p[kX] / 16), 16 * std::floor(p[kY] / 16), 16, 16);
    } else if (kind == kPoints) {
        app.p_Text(p[kX], p[kY], String(Trunc(p[kValue])), 1.0f, 1.0f, 0);
    }
}

float FadeStep(int kind) {
    if (kind == kSlowFading) return 0.003f;
    if (kind == kBlock) return 0.013f;
    return 0.01f;
}

void StepParticle(c_MyApp& app, float* p, float scale) {
    Move(app, p);
    app.p_Alpha(std::min(1.0f, p[kAlpha]));
    app.p_SetSize(scale, scale);
    app.p_Ink(Trunc(p[kColour]), 1.0f);
    Draw(app, p);
    p[kAlpha] -= FadeStep(Trunc(p[kKind]));
    if (p[kAlpha] < 0) p[kKind] = 0;
}

void FillStar(float* star) {
    star[0] = static_cast<float>(Trunc(std::floor(255.99f * kp_random_Rnd())));
    star[1] = kp_random_Rnd() * (kp_VTR_jscrw + 16) - 8;
    star[2] = kp_random_Rnd() * (kp_VTR_jscrh + 16) - 8;
    star[3] = 0.6f * kp_random_Rnd() + 0.2f;
    star[5] = 360 * kp_random_Rnd();
    star[6] = kp_random_Rnd() - 0.5f;
}

void Retarget(float& target, int value) {
    if (value >= kLowestTarget) target = static_cast<float>(value);
}

void Ease(float& current, float target) { current += (target - current) / 8; }

}  // namespace

int c_MyApp::p_FreeParticle() {
    for (int slot = m_ParticleTop; slot >= 0; --slot) {
        if (m_Particles[slot * kRecordFloats + kKind] == 0) return slot * kRecordFloats;
    }
    return -1;
}

float* c_MyApp::ClaimParticle(int kind, float x, float y) {
    int at = p_FreeParticle();
    if (at < 0) return nullptr;
    float* p = Particle(*this, at);
    p[kKind] = static_cast<float>(kind);
    p[kX] = x;
    p[kY] = y;
    return p;
}

// A full pool drops the particle.
int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int alphaLess1) {
    float* p = ClaimParticle(kind, x, y);
    if (!p) return 0;
    p[kVX] = vx;
    p[kVY] = vy;
    p[kRotation] = static_cast<float>(Trunc(std::floor(360.99f * kp_random_Rnd())));
    p[kSpin] = 14 * kp_random_Rnd() - 7;
    p[kAlpha] = static_cast<float>(alphaLess1 + 1);
    p[kColour] = static_cast<float>(colour);
    p[kValue] = static_cast<float>(value);
    return 0;
}

// Angle 0 throws straight up. A missing angle or speed is drawn even when the
// pool turns out to be full.
int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    if (angle == kNotGiven) angle = 360 * kp_random_Rnd();
    if (speed == kNotGiven) speed = 3 + 5 * kp_random_Rnd();
    float* p = ClaimParticle(kind, x, y);
    if (!p) return 0;
    p[kVX] = speed * SinDeg(angle);
    p[kVY] = -speed * CosDeg(angle);
    p[kRotation] = 360 * kp_random_Rnd();
    p[kSpin] = 16 * kp_random_Rnd() - 8;
    if (kind == kBouncing) {
        p[kBounceY] = y + 32 * kp_random_Rnd() - 16;
        p[kSpin] = 0;
    }
    p[kAlpha] = 0.7f + 0.6f * kp_random_Rnd();
    p[kColour] = static_cast<float>(colour);
    p[kValue] = static_cast<float>(Trunc(std::floor(255.99f * kp_random_Rnd())));
    return 0;
}

int c_MyApp::p_DoParticles(float scale) {
    p_ResetDraw();
    for (int slot = 0; slot <= m_ParticleTop; ++slot) {
        float* p = Particle(*this, slot * kRecordFloats);
        if (p[kKind] > 0) StepParticle(*this, p, scale);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    if (n < 0) return 0;
    StoreCount(m_ParticleTop, n);
    for (int slot = 0; slot <= m_ParticleTop; ++slot) m_Particles[slot * kRecordFloats + kKind] = 0;
    return 0;
}

// Every game starts from the clock, so no two games share their layouts; a
// reading that equals the clock marker makes p_SeedRnd read the clock again.
int c_MyApp::p_ResetStars(int n) {
    p_SeedRnd(kp_app_Millisecs());
    if (n < 0) return 0;
    StoreCount(m_StarCount, n);
    for (int i = 0; i <= m_StarCount; ++i) FillStar(m_Stars.Data() + i * kRecordFloats);
    return 0;
}

// Starts the frame's command list on a background that eases toward its
// target; -123 keeps a target or, for alpha, means opaque.
int c_MyApp::p_DoBG(int red, int green, int blue, float alpha) {
    Retarget(m_BgTargetR, red);
    Retarget(m_BgTargetG, green);
    Retarget(m_BgTargetB, blue);
    Ease(m_BgR, m_BgTargetR);
    Ease(m_BgG, m_BgTargetG);
    Ease(m_BgB, m_BgTargetB);
    float shown = alpha == kKeep ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
    p_CLS2D(m_BgR, m_BgG, m_BgB, shown);
    return 0;
}
