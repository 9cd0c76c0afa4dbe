#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/containers/random.h"
#include "tests/game/game_fixture.h"
#include "tests/game/random_draws.h"

namespace {

// The seed whose next state is `next`, so that the next fraction is known.
int SeedBefore(std::uint32_t next) { return static_cast<int>((next - 1013904223u) * 4276115653u); }

class LevelTest : public GameTest {
protected:
    float* Cell(int x, int y) const { return app->m_Grid.Data() + (x + 100 * y) * 10; }

    // Rows of kinds: '.' empty, '#' wall or floor, '=' platform.
    std::vector<std::string> Kinds() const {
        std::vector<std::string> rows;
        for (int y = 0; y <= app->m_GridH; ++y) {
            std::string row;
            for (int x = 0; x <= app->m_GridW; ++x) row += ".#="[static_cast<int>(Cell(x, y)[0])];
            rows.push_back(row);
        }
        return rows;
    }

    void Screen(float width, float height) {
        kp_VTR_jscrw = width;
        kp_VTR_jscrh = height;
    }

    // An empty grid of the given size with a crumble rate of 1.
    void EmptyGrid(int width, int height) {
        app->p_ResetGrid();
        app->m_GridW = width;
        app->m_GridH = height;
        app->m_Player[20] = 1;
    }
};

TEST_F(LevelTest, SmallLayoutFollowsTheDrawOrder) {
    // Seed 31337 draws 0.3808 (start 4) and 0.6625 (period 5): platform rows
    // 6 and 11. Row 6: 0.2268 gives a run of 0; x 2 draws 0.0344 and opens a
    // gap of 2 (0.0056, 0.6913: run 3); x 7 draws 0.1038 at run 0 and opens a
    // gap of 3 (0.3761, 0.4248); x 13 draws 0.1819 and opens another (0.6174,
    // 0.2603). Row 11: 0.6776 gives a run of 2; x 4 draws 0.2195, just too
    // high; only x 14 draws 0.1632 and opens a gap (0.1285, 0.3738).
    Screen(256, 192);
    app->m_Player[25] = 2;
    app->m_Player[98] = 2;
    app->m_Player[37] = 5;
    Cell(3, 3)[1] = 7;
    Cell(3, 12)[1] = 7;
    kp_random_Seed = 31337;

    app->p_NewLay();

    std::vector<std::string> expected(13, "#...............#");
    expected[6] = "#...===...===...#";
    expected[11] = "#.============..#";
    expected[12] = "#################";
    EXPECT_EQ(Kinds(), expected);
    // 2 + 17 * 13 cell speeds + row 6 (1 + 13 + 3 gaps * 2) + row 11 (1 + 13 + 2).
    EXPECT_EQ(kp_random_Seed, Advance(31337, 259));

    EXPECT_FLOAT_EQ(Cell(0, 0)[4], 16 + 16 * Draws(31337, 3)[2]);
    EXPECT_EQ((std::vector<float>{Cell(0, 5)[2], Cell(16, 5)[2], Cell(3, 12)[2], Cell(1, 0)[2], Cell(8, 11)[2]}),
              (std::vector<float>{0, 0, 0, -192, -192}));
    EXPECT_EQ(Cell(3, 3)[1], 0);
    EXPECT_EQ(Cell(3, 12)[1], 0);

    EXPECT_EQ((std::vector<float>{app->m_Player[98], app->m_Player[97], app->m_Player[37], app->m_Player[45],
                                  app->m_Player[46], app->m_Player[50], app->m_Player[25]}),
              (std::vector<float>{3, 160, 0, 180, 45, 50, 3}));
}

// Every platform row's cells 2 .. W - 2, as runs of one kind.
struct Run {
    char kind;
    int first;
    int last;
};

std::vector<Run> Runs(const std::string& row) {
    std::vector<Run> runs;
    for (int x = 2; x <= static_cast<int>(row.size()) - 3; ++x) {
        if (runs.empty() || runs.back().kind != row[x]) runs.push_back({row[x], x, x});
        runs.back().last = x;
    }
    return runs;
}

bool Pillar(int x, int width) { return (x >= 4 && x <= 6) || (x >= width - 6 && x <= width - 4); }

// Gaps are 2 to 4 cells unless a pillar or the row's end cuts them short;
// a run between two gaps is at least 2 cells.
void ExpectGapsAndRuns(const std::string& row, int width) {
    std::vector<Run> runs = Runs(row);
    for (size_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        int length = run.last - run.first + 1;
        if (run.kind == '.') {
            bool cut = Pillar(run.first - 1, width) || Pillar(run.last + 1, width) || run.last == width - 2;
            EXPECT_LE(length, 4) << row;
            if (!cut) {
                EXPECT_GE(length, 2) << row;
            }
        } else if (i > 0 && i + 1 < runs.size()) {
            EXPECT_GE(length, 2) << row;
        }
    }
}

TEST_F(LevelTest, LayoutsKeepTheirShapeOnManySeeds) {
    std::set<int> firstRows;
    for (int seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        app->p_ResetPlayers();
        app->p_SeedRnd(seed);
        for (int layout = 1; layout <= 3; ++layout) {
            app->p_NewLay();
            ASSERT_EQ(app->m_GridW, 40);
            ASSERT_EQ(app->m_GridH, 30);
            std::vector<std::string> rows = Kinds();
            EXPECT_EQ(rows[30], std::string(41, '#'));
            std::string fullRow = "#" + std::string(39, layout <= 2 ? '=' : '.') + "#";
            EXPECT_EQ(rows[28], fullRow);
            std::vector<int> platformRows;
            for (int y = 0; y < 30; ++y) {
                EXPECT_EQ(rows[y][0], '#');
                EXPECT_EQ(rows[y][40], '#');
                if (y == 28) continue;
                EXPECT_EQ(rows[y][1], '.');
                EXPECT_EQ(rows[y][39], '.');
                if (rows[y].find('=') == std::string::npos) continue;
                platformRows.push_back(y);
                EXPECT_EQ(rows[y].substr(4, 3) + rows[y].substr(34, 3), "======");
                ExpectGapsAndRuns(rows[y], 40);
            }
            ASSERT_FALSE(platformRows.empty());
            int first = platformRows[0];
            firstRows.insert(first);
            std::vector<int> expected;
            for (int y = first; y < 30; y += 5) expected.push_back(y);
            EXPECT_EQ(platformRows, expected);
            EXPECT_EQ(app->m_Player[45], 240 - 20 * layout);
            EXPECT_EQ(app->m_Player[46], 60 - 5 * layout);
        }
    }
    EXPECT_EQ(firstRows, (std::set<int>{5, 6, 7}));
}

TEST_F(LevelTest, EveryGameStartsFromTheClock) {
    FinishLoading();
    auto startGame = [this](int millisecs) {
        host->millisecs = millisecs - 16;
        app->m_GameMode = 11;
        Update();
        EXPECT_EQ(app->m_Player[25], 1);
        return Kinds();
    };
    std::vector<std::string> first = startGame(100000);
    EXPECT_NE(startGame(200000), first);
    EXPECT_EQ(startGame(100000), first);
}

TEST_F(LevelTest, CellsWaitAboveTheScreenAtTheirOwnSpeed) {
    app->p_SeedRnd(99);
    app->p_NewLay();
    for (int y = 0; y <= 30; ++y) {
        for (int x = 0; x <= 40; ++x) {
            bool fixed = x == 0 || x == 40 || y == 30;
            EXPECT_EQ(Cell(x, y)[2], fixed ? 0 : -480) << x << "," << y;
            EXPECT_GE(Cell(x, y)[4], 16);
            EXPECT_LT(Cell(x, y)[4], 32);
        }
    }
}

TEST_F(LevelTest, RunnersComeSoonerOnLaterLevelsDownToAFloor) {
    app->m_Player[98] = 11;
    app->p_NewLay();
    EXPECT_EQ(app->m_Player[45], 100);
    EXPECT_EQ(app->m_Player[46], 30);
}

// A new game clears only the rows a game may have used, yet starts on a
// clear grid, also after a window made taller for one level and smaller
// again for the next.
TEST_F(LevelTest, ANewGameStartsOnAClearGrid) {
    app->m_Difficulty = 2;
    Screen(640, 480);
    app->p_LoadGame();
    Screen(640, 4000);
    app->p_NewLay();
    const int tallRows = app->m_GridH;
    Cell(5, tallRows)[1] = 7;
    Screen(640, 480);
    app->p_NewLay();
    app->p_LoadGame();
    ASSERT_LT(app->m_GridH, tallRows);
    const float* grid = app->m_Grid.Data();
    const int below = (app->m_GridH + 1) * 100 * 10;
    EXPECT_TRUE(std::all_of(grid + below, grid + app->m_Grid.Length(), [](float value) { return value == 0; }));
}

TEST_F(LevelTest, HugeScreensKeepTheGridInsideItsArray) {
    Screen(5000, 100000);
    app->p_NewLay();
    EXPECT_EQ(app->m_GridW, 98);
    EXPECT_EQ(app->m_GridH, 4998);
    EXPECT_TRUE(app->p_isWall(98, 4998));
    EXPECT_FALSE(app->p_isWall(99, 0));
    EXPECT_EQ(Cell(98, 0)[0], 1);
    EXPECT_EQ(Cell(0, 1)[0], 1);
    EXPECT_EQ(Cell(97, 4998)[0], 1);
}

TEST_F(LevelTest, WallAndSolidQueries) {
    EmptyGrid(10, 8);
    Cell(3, 4)[0] = 1;
    Cell(5, 4)[0] = 2;
    struct Case {
        int x, y;
        bool wall, solid;
    };
    const Case cases[] = {
        {-1, 4, false, false}, {3, -1, false, false}, {11, 4, false, false}, {3, 9, false, false},
        {0, 2, true, false},   {10, 8, true, false},  {3, 4, true, true},    {5, 4, false, true},
        {6, 4, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(app->p_isWall(c.x, c.y), c.wall);
        EXPECT_EQ(app->p_isSolid(c.x, c.y), c.solid);
    }
}

TEST_F(LevelTest, RandomHelpers) {
    app->p_SeedRnd(1234);
    EXPECT_EQ(kp_random_Seed, 1400991965);
    host->millisecs = 5000;
    app->p_SeedRnd(-37171650);
    EXPECT_EQ(kp_random_Seed, -172754821);

    struct Case {
        std::uint32_t next;
        float lo, hi;
        int result;
    };
    // Fractions 0, 0.99999994 and 0.5; a negative range rounds down.
    const Case cases[] = {
        {0, 1, 2, 1},           {0, -3, -1, -3},
        {0xFFFFFFFF, 1, 2, 2},  {0xFFFFFFFF, 3, 5, 5},    {0xFFFFFFFF, -3, -1, -1},
        {0x80000000, -3, -1, -2}, {0x80000000, 12, 17, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.next << " " << c.lo << ".." << c.hi);
        kp_random_Seed = SeedBefore(c.next);
        EXPECT_EQ(app->p_Rand(c.lo, c.hi), c.result);
        EXPECT_EQ(static_cast<std::uint32_t>(kp_random_Seed), c.next);
    }
}

// Records which samples play at which rate, and the music started.
class RecordingAudio : public gxtkAudio {
public:
    std::vector<gxtkSample*> played;
    std::vector<float> rates;
    std::vector<std::string> music;

    int PlaySample(gxtkSample* sample, int, int) override {
        played.push_back(sample);
        return 0;
    }
    int SetRate(int, float rate) override {
        rates.push_back(rate);
        return 0;
    }
    int PlayMusic(String path, int flags) override {
        music.push_back(path.ToUtf8() + ":" + std::to_string(flags));
        return 0;
    }
    int StopChannel(int) override { return 0; }
    int SetVolume(int, float) override { return 0; }
    int SetPan(int, float) override { return 0; }
    int StopMusic() override { return 0; }
    int SetMusicVolume(float) override { return 0; }
};

// A 40 x 30 grid with platform cells 5 to 9 of row 20, at the start of a
// level; the scored sounds and sound 9 are loaded.
class LandingTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        audio = new RecordingAudio;
        kp_audio_SetAudioDevice(audio);
        for (int n : {3, 4, 5, 9}) gc_assign(app->m_Sounds[n], (new c_Sound)->m_new(new gxtkSample));
        app->m_Settings[5] = 1;
        EmptyGrid(40, 30);
        for (int x = 5; x <= 9; ++x) Cell(x, 20)[0] = 2;
        app->m_Player[50] = 50;
    }

    gxtkSample* Sample(int n) const { return app->m_Sounds[n]->m_sample; }

    RecordingAudio* audio = nullptr;
};

TEST_F(LandingTest, TheNthCellOfAComboScoresN) {
    for (int x = 5; x <= 7; ++x) EXPECT_TRUE(app->p_PushFloor(x, 20));
    EXPECT_EQ(app->m_Score, 1 + 2 + 3);
    EXPECT_EQ(app->m_Player[37], 3);
    EXPECT_EQ(app->m_Player[50], 47);
    for (int x = 5; x <= 7; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(Cell(x, 20)[1], 4);
        const float* marker = app->m_Particles.Data() + (255 - x) * 10;
        EXPECT_EQ((std::vector<float>{marker[0], marker[1], marker[2], marker[3], marker[4], marker[7], marker[8],
                                      marker[9]}),
                  (std::vector<float>{99, 16.0f * x, 320, 0, -0.25f, 1, 3, x - 4.0f}));
    }

    EXPECT_TRUE(app->p_PushFloor(6, 20));
    EXPECT_EQ(app->m_Score, 6);
    EXPECT_EQ(app->m_Player[37], 3);
    EXPECT_EQ(Cell(6, 20)[1], 8);
    EXPECT_EQ(app->p_FreeParticle(), 2470);
}

TEST_F(LandingTest, FloorAndOutsideScoreNothing) {
    Cell(5, 30)[0] = 1;
    app->m_Player[20] = 0.5f;
    EXPECT_TRUE(app->p_PushFloor(5, 30));
    EXPECT_EQ(Cell(5, 30)[1], 2);
    for (auto [x, y] : {std::pair{41, 20}, {5, 31}, {-1, 20}, {5, -1}}) EXPECT_FALSE(app->p_PushFloor(x, y));
    EXPECT_EQ(app->m_Score, 0);
    EXPECT_EQ(app->m_Player[37], 0);
    EXPECT_EQ(app->m_Player[50], 50);
}

TEST_F(LandingTest, FirstCellStartsTheTuneAndEachPlaysARandomSound) {
    int seed = 4242;
    kp_random_Seed = seed;
    app->p_PushFloor(5, 20);
    // The marker draws two numbers; then the rate and the sound.
    std::vector<float> r = Draws(seed, 4);
    int sound = static_cast<int>(3 + 2.99f * r[3]);
    EXPECT_EQ(audio->played, std::vector<gxtkSample*>{Sample(sound)});
    ASSERT_EQ(audio->rates.size(), 1u);
    EXPECT_FLOAT_EQ(audio->rates[0], 0.8f + 0.5f * r[2]);
    EXPECT_EQ(audio->music, std::vector<std::string>{"brisko://data/sfx/Agile.ogg:0"});
    EXPECT_EQ(app->m_TuneStarted, 1);

    app->p_PushFloor(6, 20);
    EXPECT_EQ(audio->music.size(), 1u);
    EXPECT_EQ(audio->played.size(), 2u);
}

TEST_F(LandingTest, FiftiethCellPlaysSoundNineOnce) {
    app->m_Player[50] = 2;
    std::vector<int> nines;
    for (int x = 5; x <= 8; ++x) {
        audio->played.clear();
        app->p_PushFloor(x, 20);
        nines.push_back(static_cast<int>(std::count(audio->played.begin(), audio->played.end(), Sample(9))));
    }
    EXPECT_EQ(nines, (std::vector<int>{0, 1, 0, 0}));
    EXPECT_EQ(app->m_Player[50], -2);
}

// A 16 x 12 layout on a 256 x 192 screen, as the play step animates it.
class CellAnimationTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        Screen(256, 192);
        app->m_Player[20] = 1;
        app->p_SeedRnd(7);
        app->p_NewLay();
    }

    int Animate() {
        app->p_CLS2D(-3717, 0, 0, 0);
        return app->UpdateCells();
    }

    // The frame of the tile drawn at cell (x, y) shifted by `offset`, or -1.
    int FrameAt(int x, int y, float offset = 0) const {
        for (int at = 0; at < app->m_DrawCount; at += 15) {
            const float* c = app->m_DrawList.Data() + at;
            if (c[0] == 1 && c[1] == 16.0f * x && c[2] == 16.0f * y + offset) return static_cast<int>(c[6]);
        }
        return -1;
    }

    void ForEachCell(const std::function<void(int, int, float*)>& visit) {
        for (int y = 0; y <= app->m_GridH; ++y) {
            for (int x = 0; x <= app->m_GridW; ++x) visit(x, y, Cell(x, y));
        }
    }
};

TEST_F(CellAnimationTest, CellsDropInAtTheirSpeedAndSettle) {
    float speed = Cell(5, 6)[4];
    ASSERT_EQ(Animate(), 1);
    EXPECT_EQ(app->m_Player[36], 1);
    EXPECT_EQ(Cell(5, 6)[2], -192 + speed);
    EXPECT_EQ(FrameAt(5, 6, -192 + speed), 2);
    EXPECT_EQ(FrameAt(0, 3), 1);

    // The slowest cell, just above 16, needs 12 updates; the update that
    // brings it to rest already reports every cell in place.
    int updates = 1;
    while (Animate() == 1 && updates < 20) ++updates;
    EXPECT_EQ(updates + 1, 12);
    EXPECT_EQ(app->m_Player[36], 1) << "the last cell moved in that update";
    Animate();
    EXPECT_EQ(app->m_Player[36], 0);
    ForEachCell([](int, int, float* cell) { EXPECT_EQ(cell[2], 0); });
    EXPECT_EQ(FrameAt(5, 6), 2);
    EXPECT_EQ(FrameAt(1, 3), -1);
}

TEST_F(CellAnimationTest, FallenLayoutAsksForTheNextOne) {
    ForEachCell([](int, int, float* cell) { cell[2] = cell[4]; });
    int away = 0;
    int updates = 0;
    do {
        away = Animate();
        ++updates;
    } while (away == 1 && app->m_Player[36] == 1 && updates < 40);
    EXPECT_EQ(away, 1);
    EXPECT_EQ(app->m_Player[36], 0);
    EXPECT_GT(updates, 12);
    EXPECT_LT(updates, 40);
    ForEachCell([this](int x, int y, float* cell) {
        bool fixed = x == 0 || x == app->m_GridW || y == app->m_GridH;
        if (fixed) {
            EXPECT_EQ(cell[2], 0);
        } else {
            EXPECT_GE(cell[2], 2 * 192);
        }
    });
}

TEST_F(CellAnimationTest, LandedCellsCrumbleAway) {
    Animate();
    ForEachCell([](int, int, float* cell) { cell[2] = 0; });
    Cell(5, 6)[0] = 2;
    Cell(10, 6)[0] = 2;
    Cell(5, 6)[1] = 1;
    Cell(10, 6)[1] = 359;
    Cell(11, 12)[1] = 400;
    Animate();
    EXPECT_EQ(FrameAt(5, 6), 6);
    EXPECT_EQ(FrameAt(10, 6), 11);
    EXPECT_EQ(Cell(5, 6)[1], 2);
    EXPECT_EQ(Cell(10, 6)[1], 360);

    Animate();
    EXPECT_EQ((std::vector<float>{Cell(10, 6)[0], Cell(10, 6)[1]}), (std::vector<float>{0, 0}));
    EXPECT_EQ(FrameAt(10, 6), -1);
    EXPECT_FALSE(app->p_isSolid(10, 6));
    // The floor never crumbles: the player stands on it at every level's start.
    EXPECT_TRUE(app->p_isSolid(11, 12));
}

TEST_F(CellAnimationTest, FloorFlickersUntilThePlayerStandsOnIt) {
    for (int i = 0; i < 12; ++i) Animate();
    int seed = kp_random_Seed;
    Animate();
    EXPECT_EQ(kp_random_Seed, Advance(seed, 17));
    std::vector<int> frames;
    for (int x = 0; x <= 16; ++x) frames.push_back(FrameAt(x, 12));
    for (int frame : frames) {
        EXPECT_GE(frame, 12);
        EXPECT_LE(frame, 17);
    }

    app->m_Player[35] = 1;
    seed = kp_random_Seed;
    Animate();
    EXPECT_EQ(kp_random_Seed, seed);
    for (int x = 0; x <= 16; ++x) EXPECT_EQ(FrameAt(x, 12), frames[x]);
}

}  // namespace
