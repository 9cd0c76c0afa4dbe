#include <algorithm>
#include <cmath>

#include "framework/containers/random.h"
#include "game/game_math.h"
#include "game/my_app.h"
#include "game/player_record.h"

namespace {

using namespace PlayerSlot;

constexpr int kCellsPerLevel = 50;

// Object records: kind, x, y, horizontal and vertical speed.
constexpr int kObjectSlots = 101;
constexpr int kObjectSize = 10;
constexpr float kRunner = 1;
constexpr float kFallingStreak = 10;
constexpr float kRisingStreak = 11;

constexpr int kPlaySheet = 1;
constexpr int kJumpKey = 10;

float Fraction(float value) { return value - std::floor(value); }

float Speed(c_MyApp& app) { return app.m_Player[kSpeed]; }

float* Object(c_MyApp& app, int slot) { return app.m_Objects.Data() + kObjectSize * slot; }

void DrawCellsLeft(c_MyApp& app) {
    int left = Trunc(app.m_Player[kCellsLeft]);
    float alpha = 0.3f;
    if (left < 1) {
        left = 0;
        alpha = 0.25f;
    }
    app.p_SetSize(12, 12);
    app.p_SetCol(255, 255, 255, alpha);
    // Stands above the point so the big number shows whole over the floor.
    app.p_Text(kp_VTR_jscrw / 2, kp_VTR_jscrh - 32, app.p_rstr(left, 2, String("0")), 1, 2, 0);
    app.p_ResetDraw();
}

// A hit or a wall jump pushes the player sideways at full stick until the
// kick wears off.
float KickedIntent(c_MyApp& app, float intent) {
    float& kick = app.m_Player[kSideKick];
    float wear = 0.5f * Speed(app);
    if (kick > 0) {
        kick = std::max(0.0f, kick - wear);
        return 1;
    }
    if (kick < 0) {
        kick = std::min(0.0f, kick + wear);
        return -1;
    }
    return intent;
}

void HoldAtWall(c_MyApp& app, float grace, float kick) {
    app.m_Player[kJumpGrace] = grace;
    app.m_Player[kWallSlide] = grace;
    app.m_Player[kWallKick] = kick;
}

// A wall on the left stops the player against it and kicks a jump to the
// right.
float StopAtLeftWall(c_MyApp& app, float intent) {
    float& x = app.m_Player[kX];
    if (app.m_X < 1) {
        app.m_X = 1;
        intent = 0;
        HoldAtWall(app, 2, 8);
    }
    if (app.p_isWall(app.m_X, app.m_Y)) {
        intent = 0;
        x = std::floor(x) + 0.99f;
        HoldAtWall(app, 2, 8);
    }
    if (Fraction(app.m_Player[kY]) > 0.5f && app.m_Y < app.m_GridH && app.p_isWall(app.m_X, app.m_Y - 1)) {
        intent = 0;
        x = std::floor(x) + 0.99f;
        HoldAtWall(app, 1, 8);
    }
    return intent;
}

float StopAtRightWall(c_MyApp& app, float intent) {
    float& x = app.m_Player[kX];
    if (app.m_X >= app.m_GridW - 1) {
        app.m_X = app.m_GridW - 2;
        intent = 0;
        HoldAtWall(app, 2, -8);
    }
    if (app.p_isWall(app.m_X + 1, app.m_Y)) {
        intent = 0;
        x = std::floor(x) + 0.01f;
        HoldAtWall(app, 1, -8);
    }
    if (Fraction(app.m_Player[kY]) > 0.5f && app.m_Y < app.m_GridH && app.p_isWall(app.m_X + 1, app.m_Y - 1)) {
        intent = 0;
        x = std::floor(x) + 0.01f;
        HoldAtWall(app, 1, -8);
    }
    return intent;
}

float SidewaysIntent(c_MyApp& app) {
    float intent = KickedIntent(app, app.m_GameOverTimer != 0 ? 0 : app.m_StickDX);
    if (intent < -0.25f) app.m_Player[kFacing] = -1;
    if (intent > 0.25f) app.m_Player[kFacing] = 1;
    if (std::fabs(intent) < 0.3f) intent = 0;
    if (intent <= -0.3f) intent = StopAtLeftWall(app, intent);
    if (intent >= 0.3f) intent = StopAtRightWall(app, intent);
    return intent;
}

// Against a wall the player slides down slowly.
void Fall(c_MyApp& app) {
    float& fall = app.m_Player[kFallSpeed];
    fall += 0.1f * Speed(app);
    if (app.m_Player[kWallSlide] > 0 && fall > 0.1f) fall = 0.1f;
    if (fall > 2.0f) fall = 2.0f;
}

void Land(c_MyApp& app) {
    app.m_Landed = 0;
    if (app.m_Y < 0 || app.m_Y > app.m_GridH) return;
    app.m_X = Trunc(app.m_Player[kX] + 0.5f);
    app.m_LevelEnd = app.m_Y >= app.m_GridH - 1 ? 1 : 0;
    if (!app.p_isSolid(app.m_X, app.m_Y + 1) || app.m_Player[kFallSpeed] <= 0) return;
    app.m_Player[kY] = std::floor(app.m_Player[kY]);
    app.m_Player[kFallSpeed] = 0;
    app.m_Player[kJumpGrace] = 3;
    app.m_Player[kWallKick] = 0;
    app.m_Landed = 1;
    app.p_PushFloor(app.m_X, app.m_Y + 1);
}

void Move(c_MyApp& app, float intent) {
    app.m_Running = std::fabs(intent) > 0.3f ? 1.0f : 0.0f;
    app.m_Player[kX] += intent * 0.3f * Speed(app);
    app.m_Player[kY] += app.m_Player[kFallSpeed] * 0.4f * Speed(app);
}

// The jump button acts once per press; a jump from a wall takes the wall's
// kick along.
void Jump(c_MyApp& app, bool cellsAway) {
    float& latch = app.m_Player[kJumpLatch];
    if (!app.p_PlayKey(kJumpKey, 1, 0)) {
        latch = 0;
        return;
    }
    if (app.m_Player[kJumpGrace] <= 0 || latch != 0 || cellsAway) return;
    if (app.m_CanJump != 1 || app.m_GameOverTimer != 0) return;
    latch = 1;
    app.m_Player[kJumpGrace] = 0;
    app.m_Player[kFallSpeed] = -1.3f;
    float r = kp_random_Rnd();
    app.p_PlaySFX(6, 0.7f + 0.6f * r, 1.0f, 0);
    if (app.m_Player[kSideKick] == 0) app.m_Player[kSideKick] = app.m_Player[kWallKick];
}

int PlayerFrame(c_MyApp& app) {
    int frame = 18;
    if (app.m_Running != 0) frame = 19 + (kp_app_Millisecs() % 400) / 100;
    if (app.m_Player[kWallSlide] == 2) frame = 23;
    float kick = app.m_Player[kSideKick];
    if (kick == 0) {
        app.m_Player[kKnockedPose] = 0;
    } else if (app.m_Player[kKnockedPose] == 1) {
        frame = kick < 0 ? 27 : 26;
    }
    return frame;
}

void DrawPlayer(c_MyApp& app) {
    float x = 16 * app.m_Player[kX];
    float y = 16 * app.m_Player[kY];
    app.m_Player[kPixelX] = x;
    app.m_Player[kPixelY] = y;
    int frame = PlayerFrame(app);
    app.p_SetSize(app.m_Player[kFacing] == -1 ? -1 : 1, 1);
    app.p_DrawImg(kPlaySheet, x, y, static_cast<float>(frame));
    app.p_SetSize(1, 1);
}

void PlayerStep(c_MyApp& app, bool cellsAway) {
    app.m_X = Trunc(app.m_Player[kX]);
    app.m_Y = Trunc(app.m_Player[kY]);
    app.m_Player[kWallKick] = 0;
    float intent = SidewaysIntent(app);
    Fall(app);
    Land(app);
    if (app.m_Player[kY] > app.m_GridH) app.m_Player[kY] = static_cast<float>(app.m_GridH - 1);
    Move(app, intent);
    bool leavingLevel = app.m_LevelEnd == 1 && app.m_Landed == 1 && app.m_Player[kCombo] > 0;
    app.m_CanJump = leavingLevel ? 0 : 1;
    Jump(app, cellsAway);
    DrawPlayer(app);
    app.m_Player[kJumpGrace] = std::max(0.0f, app.m_Player[kJumpGrace] - 1);
    app.m_Player[kWallSlide] = std::max(0.0f, app.m_Player[kWallSlide] - 1);
    app.m_Player[kBottomLanding] = 0;
}

// The whole layout falls away; the next one is built once it is gone.
void DropLayout(c_MyApp& app) {
    for (int y = 0; y <= app.m_GridH; ++y) {
        for (int x = 0; x <= app.m_GridW; ++x) {
            float* cell = app.m_Grid.Data() + (x + 100 * y) * 10;
            cell[2] = cell[4];
        }
    }
}

void SlowObjects(c_MyApp& app) {
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        float* object = Object(app, slot);
        if (object[0] == 0) continue;
        object[4] = 0.01f;
        object[3] *= 0.05f;
    }
}

// Every free object slot becomes a streak: falling for a lost life, rising
// for a cleared level.
void FillWithStreaks(c_MyApp& app, float kind) {
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        float* object = Object(app, slot);
        if (object[0] != 0) continue;
        float r1 = kp_random_Rnd();
        float r2 = kp_random_Rnd();
        float r3 = kp_random_Rnd();
        object[0] = kind;
        object[1] = r1 * kp_VTR_jscrw;
        object[3] = 0;
        if (kind == kFallingStreak) {
            object[2] = r2 * (64 - kp_VTR_jscrh) - 64;
            object[4] = 6 + 6 * r3;
        } else {
            object[2] = r2 * (kp_VTR_jscrh - 64) + 64 + kp_VTR_jscrh;
            object[4] = -(6 + 6 * r3);
        }
    }
}

void EndLevel(c_MyApp& app) {
    app.p_StopTune();
    app.m_TuneStarted = 0;
    DropLayout(app);
    SlowObjects(app);
    if (app.m_Player[kCellsLeft] > 0) {
        app.p_PlaySFX(8, 1.0f, 1.0f, 0);
        app.m_Player[kLives] -= 1;
        FillWithStreaks(app, kFallingStreak);
    }
    if (app.m_Player[kCellsLeft] < 1) {
        app.p_PlaySFX(7, 1.0f, 1.0f, 0);
        FillWithStreaks(app, kRisingStreak);
    }
    app.m_Player[kRunnerTimer] = 180;
    app.m_Player[kCombo] = 0;
}

// Back on the bottom row after scoring at least one cell ends the level.
void CheckLevelEnd(c_MyApp& app) {
    if (app.m_LevelEnd != 1 || app.m_Landed != 1) return;
    app.m_Player[kBottomLanding] = 1;
    if (app.m_Player[kCellsLeft] < kCellsPerLevel && app.m_TuneStarted == 1) EndLevel(app);
}

// A runner enters on the side away from the player, at its height.
void SpawnRunner(c_MyApp& app) {
    if (app.m_TuneStarted != 1) return;
    float& timer = app.m_Player[kRunnerTimer];
    timer -= Speed(app);
    if (timer >= 0) return;
    int at = app.p_FreeObj(kObjectSlots - 1);
    if (at < 0) return;
    float& interval = app.m_Player[kRunnerInterval];
    timer = 60 * kp_random_Rnd() + interval;
    interval = std::max(12.0f, interval - 2);
    app.p_Rand(1, 2);
    bool fromRight = app.m_Player[kX] < kp_VTR_jscrw / 32;
    kp_random_Rnd();
    float* runner = app.m_Objects.Data() + at;
    runner[0] = kRunner;
    runner[1] = fromRight ? kp_VTR_jscrw + 64 : -64;
    runner[2] = 18 * kp_random_Rnd() - 12 + 16 * app.m_Player[kY];
    runner[3] = 3 + 3 * kp_random_Rnd();
    if (fromRight) runner[3] = -(3 + 3 * kp_random_Rnd());
    runner[4] = 0;
    app.p_PlaySFX(1, 1.0f, 1.0f, 0);
}

// The runner bounces off, knocks the player back and drops away, so it
// cannot hit twice.
void HitPlayer(c_MyApp& app, float* runner) {
    bool movingLeft = runner[3] < 0;
    runner[3] = movingLeft ? -0.5f : 0.5f;
    app.m_Player[kCombo] = 0;
    app.m_Player[kSideKick] = movingLeft ? -12 : 12;
    app.p_PlaySFX(2, 1.0f, 1.0f, 0);
    for (int i = 0; i < 10; ++i) {
        float r1 = kp_random_Rnd();
        float r2 = kp_random_Rnd();
        app.p_ThrowParticle(runner[1], runner[2], 1, 9, 360 * r2, 4 + 2 * r1);
    }
    app.m_Player[kKnockedPose] = 1;
    runner[4] = 4;
}

void MoveRunner(c_MyApp& app, float* runner) {
    runner[1] += 2 * runner[3] * Speed(app);
    runner[2] += 2 * runner[4] * Speed(app);
    if (runner[4] > 0) runner[4] += 0.2f;
    app.p_DrawImg(kPlaySheet, runner[1], runner[2], runner[3] < 0 ? 24 : 25);
    if (runner[2] > kp_VTR_jscrh + 64 || runner[1] > kp_VTR_jscrw + 96 || runner[1] < -96) {
        runner[0] = 0;
        return;
    }
    bool touching = std::fabs(runner[1] - app.m_Player[kPixelX]) < 16 &&
                    std::fabs(runner[2] - app.m_Player[kPixelY]) < 10;
    if (touching && runner[4] == 0) HitPlayer(app, runner);
}

void MoveStreak(c_MyApp& app, float* streak) {
    streak[1] += 2 * streak[3] * Speed(app);
    streak[2] += 2 * streak[4] * Speed(app);
    bool falling = streak[0] == kFallingStreak;
    app.p_DrawImg(kPlaySheet, streak[1], streak[2], falling ? 31 : 30);
    if (falling ? streak[2] > kp_VTR_jscrh + 128 : streak[2] < -128) streak[0] = 0;
}

void MoveObjects(c_MyApp& app) {
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        float* object = Object(app, slot);
        if (object[0] == kRunner) MoveRunner(app, object);
        if (object[0] == kFallingStreak || object[0] == kRisingStreak) MoveStreak(app, object);
    }
}

// "Level n" slides in from the right, rests and slides out to the left.
void DrawBanner(c_MyApp& app) {
    float& timer = app.m_Player[kBanner];
    if (timer <= 0) return;
    timer -= 1;
    int offset = 0;
    if (timer > 130) offset = Trunc((timer - 130) * 32);
    if (timer < 30) offset = Trunc((timer - 30) * 32);
    app.p_SetSize(2, 2);
    String text = String("Level ") + String(Trunc(app.m_Player[kLevel]));
    app.p_Text(kp_VTR_jscrw / 2 + static_cast<float>(offset), kp_VTR_jscrh / 2, text, 1, 1, 0);
    app.p_ResetDraw();
}

}  // namespace

int c_MyApp::p_Game() {
    p_DoBG(0, 0, 80, -123);
    p_AnalogueControl();
    DrawCellsLeft(*this);
    bool cellsAway = UpdateCells() != 0;
    // A layout that has fallen away and come to rest makes room for the next.
    if (cellsAway && m_Player[kCellMoved] == 0 && m_GameOverTimer == 0) p_NewLay();
    PlayerStep(*this, cellsAway);
    CheckLevelEnd(*this);
    SpawnRunner(*this);
    p_ResetDraw();
    MoveObjects(*this);
    DrawBanner(*this);
    if (m_Player[kLives] < 0) m_GameOverTimer = 1;
    p_DoParticles(1.0f);
    p_ScoreDisplay();
    return 0;
}

int c_MyApp::p_Gimme(int points, float x, float y) {
    m_Score += points;
    p_AddParticle(99, x, y, 0, -0.25f, points, 3, 0);
    return 0;
}

int c_MyApp::p_FreeObj(int n) {
    int last = std::min(n, 500);
    for (int slot = 0; slot <= last; ++slot) {
        if (m_Objects[kObjectSize * slot] == 0) return kObjectSize * slot;
    }
    return -1;
}
