#include <algorithm>
#include <cmath>

#include "framework/app/app.h"
#include "framework/containers/random.h"
#include "game/game_math.h"
#include "game/my_app.h"
#include "game/player_record.h"

using namespace PlayerSlot;

namespace {

constexpr int kStride = 100;
constexpr int kCellFloats = 10;
// The column past the right wall and the row below the floor stay inside the
// grid array, so rows never overlap however wide or tall the screen is.
constexpr int kMaxGridW = kStride - 2;
constexpr int kClockSeed = -37171650;

// Cell slots.
constexpr int kKind = 0;
constexpr int kCrumble = 1;
constexpr int kOffset = 2;
constexpr int kFloorFrame = 3;
constexpr int kDropSpeed = 4;

constexpr int kEmpty = 0;
constexpr int kWall = 1;
constexpr int kPlatform = 2;

constexpr float kCellPixels = 16;

float* Cell(const c_MyApp& app, int x, int y) { return app.m_Grid.Data() + (x + kStride * y) * kCellFloats; }

bool InGrid(const c_MyApp& app, int x, int y) { return x >= 0 && y >= 0 && x <= app.m_GridW && y <= app.m_GridH; }

int KindAt(const c_MyApp& app, int x, int y) { return Trunc(Cell(app, x, y)[kKind]); }

// The player keeps their column from one level to the next; a grid for a
// window of another shape may end left of it, or have its floor elsewhere, so
// the player stands on the new floor, inside the walls.
void StandInside(c_MyApp& app) {
    Array<float>& player = app.m_Player;
    float rightmost = static_cast<float>(app.m_GridW - 1);
    player[kX] = std::max(1.0f, std::min(player[kX], rightmost));
    player[kY] = static_cast<float>(app.m_GridH - 1);
    player[kFallSpeed] = 0;
}

void StartLevel(c_MyApp& app) {
    Array<float>& player = app.m_Player;
    player[kLevel] += 1;
    float level = player[kLevel];
    player[kBanner] = 160;
    int lastW = app.m_GridW;
    int lastH = app.m_GridH;
    app.SizeGrid();
    if (app.m_GridW != lastW || app.m_GridH != lastH) StandInside(app);
    player[kCombo] = 0;
    player[kRunnerTimer] = std::max(100.0f, 240 - 20 * level);
    player[kRunnerInterval] = std::max(30.0f, 60 - 5 * level);
}

// The first two layouts of a game get a full platform two rows above the
// floor.
bool FullRow(const c_MyApp& app, int y) { return y == app.m_GridH - 2 && app.m_Player[kLayouts] < 2; }

// Walls and floor stand still; every other cell waits one screen above.
void FillCell(c_MyApp& app, float* cell) {
    int x = app.m_X;
    int y = app.m_Y;
    cell[kDropSpeed] = 16 + 16 * kp_random_Rnd();
    if (y == app.m_GridH) {
        cell[kKind] = kWall;
        cell[kCrumble] = 0;
        cell[kOffset] = 0;
    } else if (x == 0 || x == app.m_GridW) {
        cell[kKind] = kWall;
        cell[kOffset] = 0;
    } else {
        cell[kKind] = FullRow(app, y) ? kPlatform : kEmpty;
        cell[kOffset] = -kp_VTR_jscrh;
        cell[kCrumble] = 0;
    }
}

void FillCells(c_MyApp& app) {
    for (app.m_Y = 0; app.m_Y <= app.m_GridH; ++app.m_Y) {
        for (app.m_X = 0; app.m_X <= app.m_GridW; ++app.m_X) FillCell(app, Cell(app, app.m_X, app.m_Y));
    }
}

int OpenGap(c_MyApp& app) {
    app.m_GapLeft = Trunc(3 * kp_random_Rnd() + 2);
    app.m_RunLeft = Trunc(2 * kp_random_Rnd() + 2);
    return kEmpty;
}

// A gap opens only after a run of solid cells, and a new one never joins the
// gap before it.
int DrawnKind(c_MyApp& app) {
    app.m_GapLeft -= 1;
    if (app.m_GapLeft < 0) {
        app.m_RunLeft -= 1;
        bool open = 5 * kp_random_Rnd() < 1 && app.m_RunLeft <= 0;
        return open ? OpenGap(app) : kPlatform;
    }
    bool open = 5 * kp_random_Rnd() < 1 && app.m_GapLeft == 0 && app.m_RunLeft <= 0;
    if (open) return OpenGap(app);
    return app.m_GapLeft > 0 ? kEmpty : kPlatform;
}

// Pillars near both walls are always there to land on.
int PlatformKind(const c_MyApp& app, int drawn) {
    int x = app.m_X;
    int w = app.m_GridW;
    if (app.m_Y == app.m_GridH) return kWall;
    bool pillar = (x >= 4 && x <= 6) || (x >= w - 6 && x <= w - 4);
    return pillar || FullRow(app, app.m_Y) ? kPlatform : drawn;
}

// Columns 1 and W - 1 stay open: a shaft beside each wall.
void LayPlatformRow(c_MyApp& app) {
    app.m_RunLeft = Trunc(3 * kp_random_Rnd());
    app.m_GapLeft = 0;
    for (app.m_X = 2; app.m_X <= app.m_GridW - 2; ++app.m_X) {
        app.m_ScratchInt = PlatformKind(app, DrawnKind(app));
        Cell(app, app.m_X, app.m_Y)[kKind] = static_cast<float>(app.m_ScratchInt);
    }
}

void ScoreCell(c_MyApp& app, int x, int y) {
    Array<float>& player = app.m_Player;
    player[kCombo] += 1;
    if (app.m_TuneStarted == 0) {
        app.m_TuneStarted = 1;
        app.p_PlayTune(String("Agile"), 0);
    }
    int points = Trunc(player[kCombo]);
    player[kCellsLeft] -= 1;
    if (player[kCellsLeft] == 0) app.p_PlaySFX(9, 1.0f, 1.0f, 0);
    app.m_Score += points;
    app.p_AddParticle(99, kCellPixels * x, kCellPixels * y, 0, -0.25f, points, 3, 0);
    float rate = kp_random_Rnd();
    float pick = kp_random_Rnd();
    app.p_PlaySFX(Trunc(std::floor(3 + 2.99f * pick)), 0.8f + 0.5f * rate, 1.0f, 0);
}

bool IsFixed(const c_MyApp& app, int x, int y) { return x == 0 || x == app.m_GridW || y == app.m_GridH; }

// Drops a cell in toward its place, or lets a fallen one go on falling until
// it is well below the screen.
void MoveCell(c_MyApp& app, float* cell) {
    float offset = cell[kOffset];
    if (offset < 0) {
        cell[kOffset] = std::min(0.0f, offset + cell[kDropSpeed]);
    } else if (offset > 0 && offset < 2 * kp_VTR_jscrh) {
        cell[kOffset] = offset + cell[kDropSpeed];
    } else {
        return;
    }
    app.m_Player[kCellMoved] = 1;
}

// A landed cell runs through the six crumbling frames and then is gone.
int CrumbleFrame(c_MyApp& app, float* cell) {
    if (cell[kCrumble] <= 0) return Trunc(cell[kKind]);
    int frame = 6 + Trunc(cell[kCrumble] / 60);
    cell[kCrumble] += app.m_Player[kCrumbleRate];
    if (frame <= 11) return frame;
    cell[kKind] = kEmpty;
    cell[kCrumble] = 0;
    return 0;
}

// Walls and floor neither move nor crumble. The floor flickers while the
// player is off it and holds its frames, kept in slot 3, under its feet.
int FixedFrame(c_MyApp& app, float* cell, int y) {
    cell[kOffset] = 0;
    if (y != app.m_GridH) return Trunc(cell[kKind]);
    if (app.m_Player[kBottomLanding] == 0) cell[kFloorFrame] = static_cast<float>(app.p_Rand(12, 17));
    return Trunc(cell[kFloorFrame]);
}

int LooseFrame(c_MyApp& app, float* cell) {
    MoveCell(app, cell);
    return CrumbleFrame(app, cell);
}

}  // namespace

// Rows are 100 cells apart: a very wide window keeps its grid, with the
// column beyond the right wall, inside its row. A new level takes the
// window's own shape, whatever shape the last one kept on screen.
void c_MyApp::SizeGrid() {
    if (m_FitW > 0) {
        kp_VTR_jscrw = m_FitW;
        kp_VTR_jscrh = m_FitH;
    }
    m_LevelW = kp_VTR_jscrw;
    m_LevelH = kp_VTR_jscrh;
    int maxRows = m_Grid.Length() / (kStride * kCellFloats) - 2;
    m_GridW = std::min(Trunc(kp_VTR_jscrw * 0.0625f), kMaxGridW);
    m_GridH = std::min(Trunc(kp_VTR_jscrh * 0.0625f), maxRows);
    m_GridRowsUsed = std::max(m_GridRowsUsed, m_GridH + 2);
}

// Clears the rows a game may have used; the rest of the 20 MB grid is still
// zero, and clearing it all would take longer than an update may.
int c_MyApp::p_ResetGrid() {
    int floats = std::min(m_Grid.Length(), m_GridRowsUsed * kStride * kCellFloats);
    std::fill_n(m_Grid.Data(), floats, 0.0f);
    m_GridRowsUsed = 0;
    return 0;
}

int c_MyApp::p_NewLay() {
    StartLevel(*this);
    int start = Trunc(3 * kp_random_Rnd() + 3);
    int period = Trunc(5 + kp_random_Rnd());
    FillCells(*this);
    for (m_Y = 0; m_Y <= m_GridH; ++m_Y) {
        if (m_Y >= start && (start + m_Y) % period == 0) LayPlatformRow(*this);
    }
    m_Player[kCellsLeft] = 50;
    m_Player[kLayouts] += 1;
    return 0;
}

// The side columns are walls in every row, written or not.
bool c_MyApp::p_isWall(int x, int y) {
    if (!InGrid(*this, x, y)) return false;
    if (x == 0 || x == m_GridW) return true;
    return KindAt(*this, x, y) == kWall;
}

bool c_MyApp::p_isSolid(int x, int y) {
    if (!InGrid(*this, x, y)) return false;
    int kind = KindAt(*this, x, y);
    return kind == kWall || kind == kPlatform;
}

// Only the first landing on a platform cell scores; every landing hastens its
// crumbling.
bool c_MyApp::p_PushFloor(int x, int y) {
    if (!InGrid(*this, x, y)) return false;
    float* cell = Cell(*this, x, y);
    int kind = Trunc(cell[kKind]);
    if (cell[kCrumble] == 0 && y < m_GridH) ScoreCell(*this, x, y);
    cell[kCrumble] += 4 * m_Player[kCrumbleRate];
    return kind == kWall || kind == kPlatform;
}

int c_MyApp::p_Rand(float lo, float hi) { return Trunc(std::floor(lo + (hi + 0.99f - lo) * kp_random_Rnd())); }

int c_MyApp::p_SeedRnd(int seed) {
    kp_random_Seed = seed == kClockSeed ? kp_app_Millisecs() : seed;
    for (int i = 0; i < 21; ++i) kp_random_Rnd();
    return 0;
}

// Moves, crumbles and draws every cell. Returns 1 while some cell is away
// from its place after the move (dropping in or fallen away); player slot 36
// tells whether any of them moved in this update.
int c_MyApp::UpdateCells() {
    m_Player[kCellMoved] = 0;
    int away = 0;
    for (int y = 0; y <= m_GridH; ++y) {
        for (int x = 0; x <= m_GridW; ++x) {
            float* cell = Cell(*this, x, y);
            bool fixed = IsFixed(*this, x, y);
            int frame = fixed ? FixedFrame(*this, cell, y) : LooseFrame(*this, cell);
            // After this update's step: a cell that has just come to rest
            // no longer holds up a jump.
            if (!fixed && cell[kOffset] != 0) away = 1;
            if (frame > 0) p_DrawImg(1, kCellPixels * x, kCellPixels * y + cell[kOffset], static_cast<float>(frame));
        }
    }
    return away;
}
