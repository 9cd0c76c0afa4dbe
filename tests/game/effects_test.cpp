#include <cmath>
#include <vector>

#include "framework/containers/random.h"
#include "tests/game/game_fixture.h"
#include "tests/game/random_draws.h"

namespace {

constexpr int kRecord = 15;
constexpr int kFont = 40;

// A started game with an empty pool of 251 slots, a 16 x 20 font at image
// 40 and an empty command list.
class EffectsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        app->m_FontImage = kFont;
        app->m_ImageSizes[kFont * 3] = 16;
        app->m_ImageSizes[kFont * 3 + 1] = 20;
        app->p_CLS2D(-3717, 0, 0, 0);
    }

    float* Slot(int slot) const { return app->m_Particles.Data() + slot * 10; }

    void Put(int slot, std::vector<float> fields) {
        for (int i = 0; i < static_cast<int>(fields.size()); ++i) Slot(slot)[i] = fields[i];
    }

    std::vector<float> Fields(int slot) const { return {Slot(slot), Slot(slot) + 10}; }

    void FillPool() {
        for (int slot = 0; slot <= app->m_ParticleTop; ++slot) Slot(slot)[0] = 1;
    }

    const float* Command(int index) const { return app->m_DrawList.Data() + index * kRecord; }

    int Commands() const { return app->m_DrawCount / kRecord; }
};

TEST_F(EffectsTest, NewParticlesTakeTheHighestFreeSlot) {
    EXPECT_EQ(app->p_FreeParticle(), 2500);
    Slot(250)[0] = 4;
    EXPECT_EQ(app->p_FreeParticle(), 2490);
    app->p_AddParticle(1, 0, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(Slot(249)[0], 1);
    app->p_ThrowParticle(0, 0, 2, 1, 0, 1);
    EXPECT_EQ(Slot(248)[0], 2);
    app->m_ParticleTop = 20;
    FillPool();
    Slot(10)[0] = 0;
    EXPECT_EQ(app->p_FreeParticle(), 100);
}

TEST_F(EffectsTest, FullPoolDropsNewParticles) {
    FillPool();
    std::vector<float> before(app->m_Particles.Data(), app->m_Particles.Data() + 2510);
    int seed = kp_random_Seed;
    EXPECT_EQ(app->p_FreeParticle(), -1);
    for (int i = 0; i < 10; ++i) app->p_AddParticle(1, 5, 5, 1, 1, 3, 2, 0);
    app->p_ThrowParticle(5, 5, 1, 2, 45, 2);
    EXPECT_EQ(kp_random_Seed, seed);
    // A missing angle and speed are drawn before the pool is searched.
    app->p_ThrowParticle(5, 5, 1, 2, -3717, -3717);
    EXPECT_EQ(kp_random_Seed, Advance(seed, 2));
    EXPECT_EQ(std::vector<float>(app->m_Particles.Data(), app->m_Particles.Data() + 2510), before);
}

TEST_F(EffectsTest, ResetFreesUpToTheGivenOrStoredTop) {
    struct Case {
        int n;
        int top;
        int lastFreed;
    };
    const Case cases[] = {{10, 10, 10}, {0, 10, 10}, {600, 10, 10}, {499, 499, 499}, {-1, 499, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        for (int slot = 0; slot < 510; ++slot) Slot(slot)[0] = 1;
        app->p_ResetParticles(c.n);
        EXPECT_EQ(app->m_ParticleTop, c.top);
        EXPECT_EQ(Slot(0)[0], c.lastFreed < 0 ? 1 : 0);
        if (c.lastFreed >= 0) {
            EXPECT_EQ(Slot(c.lastFreed)[0], 0);
        }
        EXPECT_EQ(Slot(c.lastFreed + 1)[0], 1);
    }
}

TEST_F(EffectsTest, AddedParticleTakesItsFieldsAndTwoDraws) {
    int seed = 777;
    kp_random_Seed = seed;
    app->p_AddParticle(99, 80, 320, 0.5f, -0.25f, 7, 3, 2);
    std::vector<float> r = Draws(seed, 2);
    EXPECT_EQ(Fields(250), (std::vector<float>{99, 80, 320, 0.5f, -0.25f, std::floor(360.99f * r[0]),
                                               14 * r[1] - 7, 3, 3, 7}));
}

TEST_F(EffectsTest, ThrownParticleFliesAtItsAngle) {
    struct Case {
        float angle;
        float vx, vy;
    };
    const Case cases[] = {{0, 0, -2}, {90, 2, 0}, {180, 0, 2}, {-90, -2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        Slot(250)[0] = 0;
        app->p_ThrowParticle(10, 20, 1, 5, c.angle, 2);
        EXPECT_NEAR(Slot(250)[3], c.vx, 1e-6);
        EXPECT_NEAR(Slot(250)[4], c.vy, 1e-6);
    }

    int seed = 4242;
    kp_random_Seed = seed;
    app->p_ThrowParticle(10, 20, 2, 5, 30, 2);
    std::vector<float> r = Draws(seed, 4);
    EXPECT_EQ(Fields(249), (std::vector<float>{2, 10, 20, Slot(249)[3], Slot(249)[4], 360 * r[0], 16 * r[1] - 8,
                                               0.7f + 0.6f * r[2], 5, std::floor(255.99f * r[3])}));
}

TEST_F(EffectsTest, BouncingParticleDrawsItsBounceHeightAndNoSpin) {
    int seed = 99;
    kp_random_Seed = seed;
    app->p_ThrowParticle(10, 20, 3, 4, -3717, -3717);
    std::vector<float> r = Draws(seed, 7);
    float angle = 360 * r[0];
    float speed = 3 + 5 * r[1];
    float radians = angle * 0.017453292f;
    EXPECT_EQ(Fields(250), (std::vector<float>{3, 10, 20, speed * static_cast<float>(std::sin(double{radians})),
                                               -speed * static_cast<float>(std::cos(double{radians})),
                                               20 + 32 * r[4] - 16, 0, 0.7f + 0.6f * r[5], 4,
                                               std::floor(255.99f * r[6])}));
}

TEST_F(EffectsTest, EachKindMovesAndFadesItsOwnWay) {
    struct Case {
        float kind;
        std::vector<float> after;  // x, y, vx, vy, rotation, alpha
    };
    const Case cases[] = {
        {1, {12, 23, 2, 3, 15, 0.49f}},        {2, {12, 23, 1.9f, 3.2f, 15, 0.49f}},
        {3, {12, 23, 1.96f, 3.2f, 100, 0.49f}}, {4, {12, 23, 2, 3, 15, 0.497f}},
        {16, {12, 23, 2, 3, 15, 0.487f}},      {99, {12, 23, 2, 3, 15, 0.49f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        float bounce = c.kind == 3 ? 100 : 10;
        float spin = c.kind == 3 ? 0 : 5;
        Put(250, {c.kind, 10, 20, 2, 3, bounce, spin, 0.5f, 9, 0});
        app->p_DoParticles(1);
        const float* p = Slot(250);
        std::vector<float> after = {p[1], p[2], p[3], p[4], p[5], p[7]};
        for (size_t i = 0; i < after.size(); ++i) EXPECT_FLOAT_EQ(after[i], c.after[i]) << i;
    }
}

TEST_F(EffectsTest, BouncingParticleBouncesBelowItsHeight) {
    Put(250, {3, 10, 20, 2, 3, 21, 0, 0.5f, 9, 0});
    int seed = kp_random_Seed;
    app->p_DoParticles(1);
    EXPECT_FLOAT_EQ(Slot(250)[4], 2 * Draws(seed, 1)[0] - 3);
}

TEST_F(EffectsTest, ParticlesFadeToDeathAndOpaqueAboveOne) {
    Put(250, {1, 0, 0, 0, 0, 0, 0, 0.015f, 9, 0});
    Put(249, {1, 0, 0, 0, 0, 0, 0, 1.5f, 9, 0});
    app->p_DoParticles(1);
    EXPECT_EQ(Command(0)[7], 1);
    EXPECT_FLOAT_EQ(Slot(249)[7], 1.49f);
    EXPECT_EQ(Slot(250)[0], 1);
    EXPECT_FLOAT_EQ(Command(1)[7], 0.015f);
    app->p_DoParticles(1);
    EXPECT_EQ(Slot(250)[0], 0);
    EXPECT_EQ(app->p_FreeParticle(), 2500);
}

TEST_F(EffectsTest, KindsDrawSpritesBlocksAndUprightNumbers) {
    Put(248, {16, -3, 37.5f, 0, 0, 0, 0, 1, 2, 0});
    Put(249, {2, 40, 50, 0, 0, 30, 0, 0.5f, 4, 17});
    Put(250, {99, 100, 60, 0, 0, 45, 5, 1, 3, 12});
    app->p_DoParticles(2);

    ASSERT_EQ(Commands(), 4);
    EXPECT_EQ((std::vector<float>{Command(0)[0], Command(0)[1], Command(0)[2], Command(0)[4], Command(0)[5]}),
              (std::vector<float>{-3717, -16, 32, 16, 16}));
    EXPECT_EQ((std::vector<float>{Command(1)[0], Command(1)[1], Command(1)[2], Command(1)[4], Command(1)[6],
                                  Command(1)[7]}),
              (std::vector<float>{96, 40, 50, 2, 17, 0.5f}));
    for (int i = 2; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Command(i)[0], kFont);
        EXPECT_EQ(Command(i)[3], 0);
        EXPECT_EQ(Command(i)[6], (i == 2 ? '1' : '2') - 32);
    }

    EXPECT_EQ((std::vector<float>{app->m_DrawScaleX, app->m_DrawScaleY, app->m_DrawRot, app->m_DrawRed,
                                  app->m_DrawAlpha}),
              (std::vector<float>{1, 1, 0, 255, 1}));
}

TEST_F(EffectsTest, ColourNumbersTintTheParticle) {
    struct Case {
        int colour;
        float r, g, b;
    };
    const Case cases[] = {
        {1, 255, 25.5f, 25.5f},  {2, 255, 127.5f, 25.5f},  {3, 255, 255, 25.5f},   {4, 25.5f, 255, 25.5f},
        {5, 25.5f, 255, 255},    {6, 25.5f, 25.5f, 255},   {7, 127.5f, 25.5f, 255}, {8, 255, 25.5f, 127.5f},
        {9, 255, 255, 255},      {0, 76.5f, 76.5f, 76.5f}, {10, 76.5f, 76.5f, 76.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        app->p_CLS2D(-3717, 0, 0, 0);
        Put(250, {1, 0, 0, 0, 0, 0, 0, 1, static_cast<float>(c.colour), 0});
        app->p_DoParticles(1);
        EXPECT_EQ((std::vector<float>{Command(0)[10], Command(0)[11], Command(0)[12]}),
                  (std::vector<float>{c.r, c.g, c.b}));
    }
}

TEST_F(EffectsTest, BackgroundEasesTowardItsTargetAndStartsTheFrame) {
    app->p_Rect(0, 0, 1, 1);
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_DoBG(80, 160, 240, 0.5f);
    EXPECT_EQ(app->m_DrawCount, 0);
    EXPECT_EQ(app->m_DrawRed, 255);
    EXPECT_EQ((std::vector<float>{app->m_ClsRed, app->m_ClsGreen, app->m_ClsBlue, app->m_ClsAlpha}),
              (std::vector<float>{10, 20, 30, 0.5f}));

    app->p_DoBG(-123, -123, -123, -123);
    EXPECT_EQ((std::vector<float>{app->m_BgR, app->m_BgG, app->m_BgB, app->m_ClsAlpha}),
              (std::vector<float>{18.75f, 37.5f, 56.25f, 1}));

    app->p_DoBG(-122, -123, 0, 2);
    EXPECT_EQ((std::vector<float>{app->m_BgTargetR, app->m_BgTargetG, app->m_BgTargetB, app->m_ClsAlpha}),
              (std::vector<float>{-122, 160, 0, 1}));
    app->p_DoBG(-123, -123, -123, -0.5f);
    EXPECT_EQ(app->m_ClsAlpha, 0);
}

TEST_F(EffectsTest, StarsFollowTheClock) {
    host->millisecs = 777;
    for (int slot = 0; slot < 510; ++slot) app->m_Stars[slot * 10] = -1;
    app->p_ResetStars(100);
    app->p_SeedRnd(777);
    EXPECT_EQ(app->m_Stars[0], std::floor(255.99f * kp_random_Rnd()));
    for (int i = 0; i <= 100; ++i) {
        SCOPED_TRACE(i);
        const float* star = app->m_Stars.Data() + i * 10;
        EXPECT_EQ(star[0], std::floor(star[0]));
        EXPECT_GE(star[0], 0);
        EXPECT_LE(star[0], 255);
        EXPECT_GE(star[1], -8);
        EXPECT_LT(star[1], 648);
        EXPECT_GE(star[2], -8);
        EXPECT_LT(star[2], 488);
        EXPECT_GE(star[3], 0.2f);
        EXPECT_LT(star[3], 0.8f);
        EXPECT_GE(star[5], 0);
        EXPECT_LT(star[5], 360);
        EXPECT_GE(star[6], -0.5f);
        EXPECT_LT(star[6], 0.5f);
    }
    EXPECT_EQ(app->m_Stars[1010], -1);

    std::vector<float> first(app->m_Stars.Data(), app->m_Stars.Data() + 1010);
    host->millisecs = 778;
    app->p_ResetStars(3);
    EXPECT_EQ(app->m_StarCount, 3);
    EXPECT_NE(std::vector<float>(app->m_Stars.Data(), app->m_Stars.Data() + 40),
              std::vector<float>(first.begin(), first.begin() + 40));
    EXPECT_EQ(app->m_Stars[40], first[40]);
}

}  // namespace
