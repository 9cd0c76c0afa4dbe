#include "tests/game/game_fixture.h"

namespace {

class GameInput : public GameTest {
protected:
    // Holds one physical key (or pad button code) and asks for a logical key
    // in an update, which ends before the key is let go.
    int Holding(int code, int key, int player, int allowStick = 1) {
        Press(code);
        int result = app->p_PlayKey(key, allowStick, player);
        kp_input_device->p_EndUpdate();
        Release(code);
        return result;
    }
};

struct KeyCase {
    int code;
    int key;
    int player;
    bool iCade;
    int expected;
};

TEST_F(GameInput, LogicalKeysFoldKeyboardsAndPads) {
    const KeyCase cases[] = {
        {38, 0, 0, false, 1},        {87, 0, 0, false, 1},   {87, 0, 0, true, 0},   {38, 0, 0, true, 1},
        {65, 3, -1, false, 1},       {68, 5, 3, false, 1},   {83, 8, 0, false, 1},  {32, 10, 0, false, 1},
        {90, 10, 0, true, 0},        {17, 11, 0, true, 1},   {86, 13, 0, true, 0},  {78, 15, 0, false, 1},
        {192, 99, 0, false, 1},      {192, 99, 0, true, 0},  {27, 98, 0, true, 0},  {8, 98, 0, false, 1},
        {256 + 0, 10, 0, false, 1},  {256 + 9, 0, 0, false, 1},
        {256 + 32 + 14, 99, 1, false, 1},
        {256 + 14, 99, -1, false, 0},  // player -1 reads no pads
        {256 + 32 + 0, 10, 0, false, 0},
        {33, 0, 0, false, 0},          // not in the table
        {38, 7, 0, false, 0},          // no such logical key
        {38, 0, -2, false, 0},
        {38, 0, 8, false, 1},          // high players still see the keyboard
    };
    for (const KeyCase& c : cases) {
        kp_VTR_iCadeControls = c.iCade ? 1 : 0;
        EXPECT_EQ(Holding(c.code, c.key, c.player), c.expected)
            << "code " << c.code << " key " << c.key << " player " << c.player << " iCade " << c.iCade;
    }
}

TEST_F(GameInput, VirtualButtonsReturnTheirValue) {
    app->m_VKeys[19] = 2;
    EXPECT_EQ(app->p_PlayKey(99, 0, -1), 2);
    app->m_VKeys[19] = 0;
    app->m_VKeys[0] = 1;
    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 1);
}

TEST_F(GameInput, ICadeButtonsHoldUntilTheirReleaseLetter) {
    FinishLoading();
    app->p_iCade(1);
    host->KeyEvent(kKeyChar, 'h');
    host->KeyEvent(kKeyChar, 'x');
    Update();
    EXPECT_EQ(app->m_VKeys[10], 2);
    EXPECT_EQ(app->m_VKeys[8], 2);
    Update(3);
    EXPECT_EQ(app->m_VKeys[10], 2) << "an iCade press outlives the update";
    host->KeyEvent(kKeyChar, 'R');
    host->KeyEvent(kKeyChar, '!');
    Update();
    EXPECT_EQ(app->m_VKeys[10], 0);
    EXPECT_EQ(app->m_VKeys[8], 2);
    app->p_iCade(0);
    EXPECT_EQ(app->m_VKeys[8], 0);
    EXPECT_EQ(kp_VTR_iCadeControls, 0);
}

// With an iCade attached the tilt reads 0, whether or not this build has
// tilt controls.
TEST_F(GameInput, AnICadeZeroesTheTilt) {
    FinishLoading();
    app->p_iCade(1);
    for (int tilt : {0, 1}) {
        kp_VTR_AccelerometerControls = tilt;
        app->m_TiltX = app->m_TiltY = app->m_TiltShownX = app->m_TiltShownY = 0.5f;
        Update();
        EXPECT_EQ(app->m_TiltX, 0) << tilt;
        EXPECT_EQ(app->m_TiltY, 0) << tilt;
        EXPECT_EQ(app->m_TiltShownX, 0) << tilt;
        EXPECT_EQ(app->m_TiltShownY, 0) << tilt;
    }
}

TEST_F(GameInput, ButtonBordersAreOutside) {
    FinishLoading();
    app->p_ResetDraw();
    app->m_Pressing = 1;
    app->m_TouchDown[0] = 1;
    int half = app->m_ImageSizes[97 * 3] / app->m_HDLevel / 2;  // 16 virtual pixels
    const std::pair<int, int> cases[] = {{100 + half - 1, 1}, {100 + half, 0}, {100 - half, 0}, {100, 1}};
    for (auto [x, hit] : cases) {
        app->m_TouchX[0] = x;
        app->m_TouchY[0] = 100;
        EXPECT_EQ(app->p_Button(97, 100, 100, 0), hit) << x;
        EXPECT_EQ(app->m_ButtonHit, hit);
    }
}

TEST_F(GameInput, F11FlipsFullScreen) {
    FinishLoading();
    Press(122);
    Update();
    EXPECT_EQ(app->m_Fullscreen, 1);
    EXPECT_TRUE(host->fullScreen);
    EXPECT_EQ(host->width, 1920);
    Release(122);
    Update();
    Press(122);
    Update();
    EXPECT_EQ(app->m_Fullscreen, 0);
    EXPECT_FALSE(host->fullScreen);
    EXPECT_EQ(host->width, 640);
    EXPECT_EQ(host->height, 480);
}

TEST_F(GameInput, AsyncEventsArePolledEveryUpdate) {
    struct Counter : Object, virtual c_IAsyncEventSource {
        int polls = 0;
        int p_UpdateAsyncEvents() override { return ++polls; }
    };
    auto* counter = new Counter;
    kp_asyncevent_AddAsyncEventSource(counter);
    Update(3);
    EXPECT_EQ(counter->polls, 3);
}

}  // namespace
