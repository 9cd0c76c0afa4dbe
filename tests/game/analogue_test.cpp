#include <array>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

using Command = std::array<float, 15>;

class Analogue : public GameTest {
protected:
    // Play runs the control every update, so a press always follows a step
    // without one.
    void SetUp() override {
        GameTest::SetUp();
        Step(false);
    }

    std::vector<Command> Ovals() const {
        std::vector<Command> found;
        for (int at = 0; at + 15 <= app->m_DrawCount; at += 15) {
            if (app->m_DrawList[at] != -3716) continue;
            Command command;
            for (int i = 0; i < 15; ++i) command[i] = app->m_DrawList[at + i];
            found.push_back(command);
        }
        return found;
    }

    // One control step with the pointer at (x, y), pressed or not: the
    // update's share of reading the controls, which ends that update.
    void Step(bool pressing, int x = 0, int y = 0) {
        app->m_Pressing = pressing ? 1 : 0;
        app->m_MouseX = x;
        app->m_MouseY = y;
        app->m_DrawCount = 0;
        app->p_AnalogueControl();
        kp_input_device->p_EndUpdate();
    }

    void Stick(float x, float y) {
        kp_input_device->m_pads[0]->m_stickX[0] = x;
        kp_input_device->m_pads[0]->m_stickY[0] = y;
    }

    void ExpectDirection(float dx, float dy) {
        EXPECT_NEAR(app->m_StickDX, dx, 1e-5f);
        EXPECT_NEAR(app->m_StickDY, dy, 1e-5f);
    }
};

TEST_F(Analogue, TouchStickStartsWhereThePressBegins) {
    EXPECT_EQ(app->m_TouchOriginX, -1);
    Step(true, 100, 100);
    EXPECT_EQ(app->m_TouchOriginX, 100);
    EXPECT_EQ(app->m_TouchOriginY, 100);
    ExpectDirection(0, 0);
    Step(true, 136, 82);
    ExpectDirection(0.5f, -0.25f);
    EXPECT_EQ(app->m_TouchOriginX, 100) << "within 64 pixels the origin stays";

    std::vector<Command> ovals = Ovals();
    ASSERT_EQ(ovals.size(), 2u);
    EXPECT_FLOAT_EQ(ovals[0][1], 100);
    EXPECT_FLOAT_EQ(ovals[0][4], 12);
    EXPECT_FLOAT_EQ(ovals[1][1], 136);
    EXPECT_FLOAT_EQ(ovals[1][2], 82);
    EXPECT_FLOAT_EQ(ovals[1][4], 8);
    EXPECT_FLOAT_EQ(ovals[1][7], 0.25f);
    EXPECT_FLOAT_EQ(ovals[1][12], 250);

    Step(false);
    EXPECT_EQ(app->m_TouchOriginX, -1);
    EXPECT_TRUE(Ovals().empty());
    Step(true, 300, 200);
    EXPECT_EQ(app->m_TouchOriginX, 300) << "a new press sets a new origin";
}

// The direction is read before the origin creeps 4 pixels toward a finger
// more than 64 pixels away on that axis.
TEST_F(Analogue, TouchStickOriginFollowsAFarFinger) {
    Step(true, 100, 100);
    Step(true, 200, 36);
    ExpectDirection(100 / 72.0f, -64 / 72.0f);
    EXPECT_EQ(app->m_TouchOriginX, 104);
    EXPECT_EQ(app->m_TouchOriginY, 100) << "exactly 64 away does not pull";
    Step(true, 200, 36);
    ExpectDirection(96 / 72.0f, -64 / 72.0f);
    EXPECT_EQ(app->m_TouchOriginX, 108);
    Step(true, 20, 36);
    EXPECT_EQ(app->m_TouchOriginX, 104);
}

TEST_F(Analogue, TouchStickDeadZoneNeedsBothAxesSmall) {
    const struct {
        int x, y;
        float dx, dy;
    } cases[] = {
        {107, 93, 0, 0},
        {108, 100, 8 / 72.0f, 0},
        {107, 108, 7 / 72.0f, 8 / 72.0f},
    };
    for (const auto& c : cases) {
        Step(true, 100, 100);
        Step(true, c.x, c.y);
        ExpectDirection(c.dx, c.dy);
        Step(false);
    }
}

TEST_F(Analogue, PadStickBeatsTheTouchStickOutsideItsDeadZone) {
    struct Case {
        float x, y;
        int normalY;
        float dx, dy;
    };
    const Case cases[] = {
        {0.5f, 0.3f, 0, 0.5f, -0.3f},
        {0.5f, 0.3f, 1, 0.5f, 0.3f},
        {0.1f, -0.3f, 1, 0.1f, -0.3f},
        {0.15f, 0.2f, 0, 36 / 72.0f, 0},  // the touch stick's reading stays
    };
    for (const Case& c : cases) {
        app->m_Settings[15] = c.normalY;
        Stick(c.x, c.y);
        Step(true, 100, 100);
        Step(true, 136, 100);
        ExpectDirection(c.dx, c.dy);
        EXPECT_FLOAT_EQ(app->m_KeyRampX, 0) << "keys read without the stick";
        Step(false);
    }
}

// Held keys ramp by 0.15 an update; the ramp is clamped only after the
// output took it, so a held key reads 1.15. Let go, the ramp falls by 0.2.
TEST_F(Analogue, KeysRampUpOvershootAndFallBack) {
    Press(39);
    const float held[] = {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1.05f, 1.15f, 1.15f};
    for (float dx : held) {
        Step(false);
        ExpectDirection(dx, 0);
    }
    EXPECT_FLOAT_EQ(app->m_KeyRampX, 1);
    Release(39);
    const float released[] = {0.8f, 0.6f, 0.4f, 0.2f, 0, 0};
    for (float dx : released) {
        Step(false);
        ExpectDirection(dx, 0);
    }
    EXPECT_NEAR(app->m_KeyRampX, 0, 1e-6f);
}

TEST_F(Analogue, KeysOverrideTheStickOnTheirAxisOnly) {
    Stick(0.5f, 0.5f);
    app->m_Settings[15] = 1;
    Press(38);
    Step(false);
    ExpectDirection(0.5f, -0.15f);
    Release(38);
    Step(false);
    ExpectDirection(0.5f, 0);
    EXPECT_FLOAT_EQ(app->m_KeyRampY, 0) << "a falling ramp stops at 0, not past it";
    Step(false);
    ExpectDirection(0.5f, 0.5f);
}

TEST_F(Analogue, DebugShowsTheDirectionAndStateIsReset) {
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_SetSize(3, 3);
    Press(37);
    Step(false);
    EXPECT_TRUE(Ovals().empty());
    EXPECT_FLOAT_EQ(app->m_DrawRed, 255);
    EXPECT_FLOAT_EQ(app->m_DrawAlpha, 1);
    EXPECT_FLOAT_EQ(app->m_DrawScaleX, 1);

    kp_VTR_DebugMode = 1;
    Step(false);
    std::vector<Command> ovals = Ovals();
    ASSERT_EQ(ovals.size(), 2u);
    EXPECT_FLOAT_EQ(ovals[0][1], 640 - 64);
    EXPECT_FLOAT_EQ(ovals[0][4], 12);
    EXPECT_FLOAT_EQ(ovals[1][1], 640 - 64 - 52 * 0.3f);
    EXPECT_FLOAT_EQ(ovals[1][2], 480 - 64);
    EXPECT_FLOAT_EQ(ovals[1][4], 8);
    EXPECT_FLOAT_EQ(ovals[1][11], 180);
    EXPECT_FLOAT_EQ(ovals[1][7], 0.5f);
    Release(37);
    app->m_KeyRampX = 0;
    Step(false);
    EXPECT_TRUE(Ovals().empty()) << "no direction, nothing shown";
}

TEST_F(Analogue, PlayKeyAllSumsTheFirstFourPlayers) {
    Press(32);
    EXPECT_EQ(app->p_PlayKeyAll(10, 0), 4) << "every player sees the keyboard";
    kp_input_device->p_EndUpdate();
    Release(32);
    Press(256);
    Press(256 + 96);
    EXPECT_EQ(app->p_PlayKeyAll(10, 0), 2) << "players 0 and 3";
    kp_input_device->p_EndUpdate();
    Release(256);
    Release(256 + 96);
    app->m_VKeys[10] = 2;
    EXPECT_EQ(app->p_PlayKeyAll(10, 0), 8);
    app->m_VKeys[10] = 0;
    Stick(0.5f, 0);
    EXPECT_EQ(app->p_PlayKeyAll(5, 0), 0);
    EXPECT_EQ(app->p_PlayKeyAll(5, 1), 1);
}

TEST_F(Analogue, StickQueriesOutsideThePadsReadNothing) {
    Stick(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(app->p_StickX(0, 0), 0.5f);
    EXPECT_FLOAT_EQ(app->p_StickX(2, 0), 0);
    EXPECT_FLOAT_EQ(app->p_StickY(-1, 0), 0);
    EXPECT_FLOAT_EQ(app->p_StickX(0, 4), 0);
    EXPECT_FLOAT_EQ(app->p_StickY(0, -1), 0);
}

using HitTest = int (*)(c_MyApp*, float, float, float, float);

int In(c_MyApp* app, float x, float y, float w, float h) { return app->p_MouseIn(x, y, w, h); }
int Centred(c_MyApp* app, float x, float y, float w, float h) { return app->p_MouseIn_Centered(x, y, w, h); }
int Touch(c_MyApp* app, float x, float y, float w, float h) { return app->p_Touch(x, y, w, h); }
int Radius(c_MyApp* app, float x, float y, float w, float h) { return app->p_MouseIn_Radius(x, y, w, h); }

struct HitCase {
    const char* name;
    HitTest test;
    float x, y, w, h;
    int fingerX, fingerY;
    int hit;
};

// p_MouseIn (100,100)-(150,120); p_MouseIn_Centered (75,90)-(125,110);
// p_Touch (94,94)-(162,132); p_MouseIn_Radius radius 50 about (100,100).
TEST_F(Analogue, HitBoxBorders) {
    const HitCase cases[] = {
        {"in", In, 100, 100, 50, 20, 100, 110, 0},
        {"in", In, 100, 100, 50, 20, 101, 110, 1},
        {"in", In, 100, 100, 50, 20, 149, 119, 1},
        {"in", In, 100, 100, 50, 20, 150, 110, 0},
        {"in", In, 100, 100, 50, 20, 120, 120, 0},
        {"centred", Centred, 100, 100, 50, 20, 75, 100, 0},
        {"centred", Centred, 100, 100, 50, 20, 76, 91, 1},
        {"centred", Centred, 100, 100, 50, 20, 124, 109, 1},
        {"centred", Centred, 100, 100, 50, 20, 100, 110, 0},
        {"touch", Touch, 100, 100, 50, 20, 94, 110, 0},
        {"touch", Touch, 100, 100, 50, 20, 95, 95, 1},
        {"touch", Touch, 100, 100, 50, 20, 161, 131, 1},
        {"touch", Touch, 100, 100, 50, 20, 162, 110, 0},
        {"touch", Touch, 100, 100, 50, 20, 120, 132, 0},
        {"radius", Radius, 100, 100, 60, 80, 150, 100, 1},
        {"radius", Radius, 100, 100, 60, 80, 130, 140, 1},
        {"radius", Radius, 100, 100, 60, 80, 131, 140, 0},
        {"radius", Radius, 100, 100, 60, 80, 51, 60, 0},
    };
    for (const HitCase& c : cases) {
        // Finger 3 carries the position; a finger that is up never counts.
        app->m_TouchDown[3] = 1;
        app->m_TouchX[3] = c.fingerX;
        app->m_TouchY[3] = c.fingerY;
        EXPECT_EQ(c.test(app, c.x, c.y, c.w, c.h), c.hit) << c.name << " " << c.fingerX << "," << c.fingerY;
        app->m_TouchDown[3] = 0;
        EXPECT_EQ(c.test(app, c.x, c.y, c.w, c.h), 0) << c.name << " with the finger up";
    }
}

TEST_F(Analogue, TouchDrawsItsRectangleInTheCurrentColour) {
    app->m_DrawCount = 0;
    app->p_SetCol(10, 20, 30, 0.5f);
    app->p_Touch(84, 40, 200, 24);
    ASSERT_EQ(app->m_DrawCount, 15);
    const float expected[] = {-3717, 84, 40, 0, 200, 24, 0, 0.5f, 0, 0, 10, 20, 30};
    for (int i = 0; i < 13; ++i) EXPECT_FLOAT_EQ(app->m_DrawList[i], expected[i]) << i;
}

}  // namespace
