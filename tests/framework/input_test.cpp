#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/input/input.h"
#include "host/kp_game.h"

namespace {

// A host with pads in chosen units; a pressed button is reported as held.
class PadHost : public KpGame {
public:
    bool present[4] = {};
    int pressedButton[4] = {-1, -1, -1, -1};
    std::vector<int> polled;

    bool PollJoystick(int port, Array<float> x, Array<float>, Array<float>, Array<bool> buttons) override {
        polled.push_back(port);
        if (!present[port]) return false;
        x[0] = 0.25f * (port + 1);
        for (int b = 0; b < 32; ++b) buttons[b] = b == pressedButton[port];
        return true;
    }
};

class Input : public ::testing::Test {
protected:
    void SetUp() override {
        kp_input_init();
        kp_input_SetInputDevice((new c_InputDevice)->m_new());
        device = kp_input_device;
    }

    PadHost host;
    c_InputDevice* device;
};

TEST_F(Input, HeldKeyHitsOnceAndRepeatsAreNoHits) {
    device->p_BeginUpdate();
    device->p_KeyEvent(1, 65);
    device->p_KeyEvent(1, 65);
    EXPECT_EQ(kp_input_KeyHit(65), 1);
    EXPECT_TRUE(kp_input_KeyDown(65));
    device->p_EndUpdate();
    for (int update = 0; update < 3; ++update) {
        device->p_BeginUpdate();
        device->p_KeyEvent(1, 65);
        EXPECT_EQ(kp_input_KeyHit(65), 0);
        EXPECT_TRUE(kp_input_KeyDown(65));
        device->p_EndUpdate();
    }
    device->p_KeyEvent(2, 65);
    EXPECT_FALSE(kp_input_KeyDown(65));
}

// Games read most keys as held: a tap over before the next update, or two,
// is still down through that update, and up after it.
TEST_F(Input, ATapBetweenUpdatesReadsDownThroughTheNextUpdate) {
    struct Tap {
        const char* name;
        std::vector<std::pair<int, int>> events;
        int key;
        int mirror;
        int hits;
    };
    const Tap taps[] = {
        {"key", {{1, 32}, {2, 32}}, 32, 0, 1},
        {"key twice", {{1, 32}, {2, 32}, {1, 32}, {2, 32}}, 32, 0, 2},
        {"click", {{1, 1}, {2, 1}}, 1, 384, 1},
        {"touch", {{1, 384}, {2, 384}}, 384, 1, 1},
    };
    for (const Tap& tap : taps) {
        for (auto [event, key] : tap.events) device->p_KeyEvent(event, key);
        device->p_BeginUpdate();
        EXPECT_EQ(kp_input_KeyHit(tap.key), tap.hits) << tap.name;
        EXPECT_TRUE(kp_input_KeyDown(tap.key)) << tap.name;
        if (tap.mirror) {
            EXPECT_TRUE(kp_input_KeyDown(tap.mirror)) << tap.name;
        }
        device->p_EndUpdate();
        EXPECT_FALSE(kp_input_KeyDown(tap.key)) << tap.name;
        if (tap.mirror) {
            EXPECT_FALSE(kp_input_KeyDown(tap.mirror)) << tap.name;
        }
    }
}

TEST_F(Input, AKeyPressedAgainAfterATapStaysHeld) {
    device->p_KeyEvent(1, 32);
    device->p_KeyEvent(2, 32);
    device->p_KeyEvent(1, 32);
    device->p_BeginUpdate();
    device->p_EndUpdate();
    EXPECT_TRUE(kp_input_KeyDown(32));
    device->p_KeyEvent(2, 32);
    EXPECT_FALSE(kp_input_KeyDown(32)) << "a key the last update saw goes up at once";
}

TEST_F(Input, HitQueueHoldsThirtyThreeKeys) {
    for (int key = 40; key < 40 + 34; ++key) device->p_KeyEvent(1, key);
    EXPECT_EQ(kp_input_KeyHit(40 + 32), 1);
    EXPECT_EQ(kp_input_KeyHit(40 + 33), 0) << "the 34th hit is not counted";
    EXPECT_TRUE(kp_input_KeyDown(40 + 33));
    device->p_EndUpdate();
    for (int key = 40; key < 40 + 34; ++key) EXPECT_EQ(kp_input_KeyHit(key), 0);
}

TEST_F(Input, CharacterQueueDropsTheThirtyThirdAndForgetsUnread) {
    for (int c = 0; c < 33; ++c) device->p_KeyEvent(3, 'a' + c % 26);
    int read = 0;
    while (kp_input_GetChar() != 0) ++read;
    EXPECT_EQ(read, 32);
    device->p_KeyEvent(3, 'x');
    device->p_EndUpdate();
    EXPECT_EQ(kp_input_GetChar(), 0) << "unread characters are gone after the update";
}

TEST_F(Input, LeftButtonAndFirstTouchMirrorEachOther) {
    device->p_MouseEvent(4, 0, 12, 34);
    EXPECT_TRUE(kp_input_TouchDown(0));
    EXPECT_EQ(kp_input_KeyHit(1), 1);
    EXPECT_EQ(kp_input_KeyHit(384), 1);
    EXPECT_FLOAT_EQ(kp_input_TouchX(0), 12);
    EXPECT_FLOAT_EQ(kp_input_TouchY(0), 34);
    EXPECT_TRUE(kp_input_JoyDown(0, 4)) << "unit 4 button 0 is touch 0";
    device->p_EndUpdate();
    device->p_TouchEvent(8, 0, 0, 0);
    EXPECT_FALSE(kp_input_MouseDown(0));

    device->p_TouchEvent(9, 0, 50, 60);
    EXPECT_FLOAT_EQ(kp_input_MouseX(), 50);
    device->p_TouchEvent(7, 3, 70, 80);
    EXPECT_TRUE(kp_input_TouchDown(3));
    EXPECT_FLOAT_EQ(kp_input_MouseX(), 50) << "only touch 0 moves the mouse";
    EXPECT_FLOAT_EQ(kp_input_TouchX(3), 70);
}

TEST_F(Input, PadsArePolledUpToTheFirstGap) {
    host.present[0] = true;
    host.present[2] = true;
    host.pressedButton[0] = 5;
    host.pressedButton[2] = 1;
    device->p_BeginUpdate();
    EXPECT_EQ(host.polled, (std::vector<int>{0, 1}));
    EXPECT_EQ(kp_input_JoyHit(5, 0), 1);
    EXPECT_TRUE(kp_input_KeyDown(256 + 5));
    EXPECT_FALSE(kp_input_JoyDown(1, 2)) << "unit 2 is behind the gap";
    EXPECT_FLOAT_EQ(kp_input_JoyX(0, 0), 0.25f);
    device->p_EndUpdate();

    device->p_BeginUpdate();
    EXPECT_EQ(kp_input_JoyHit(5, 0), 0) << "a held button hits once";
    host.pressedButton[0] = -1;
    device->p_EndUpdate();
    device->p_BeginUpdate();
    EXPECT_FALSE(kp_input_JoyDown(5, 0));
}

TEST_F(Input, CodesOutsideTheRangeReadAsNothing) {
    const int keys[] = {0, 512, -1, 100000};
    for (int key : keys) {
        device->p_KeyEvent(1, key);
        EXPECT_EQ(kp_input_KeyHit(key), 0) << key;
        EXPECT_FALSE(kp_input_KeyDown(key)) << key;
    }
    EXPECT_EQ(kp_input_MouseHit(-2), 0);
    EXPECT_EQ(kp_input_MouseHit(511), 0);
    EXPECT_FALSE(kp_input_TouchDown(128));
    EXPECT_EQ(kp_input_TouchX(32), 0);
    EXPECT_EQ(kp_input_TouchY(-1), 0);
    EXPECT_FALSE(kp_input_JoyDown(0, 8));
}

TEST_F(Input, AccelerationIsKept) {
    device->p_MotionEvent(10, 0, 0.5f, -0.25f, 1);
    EXPECT_FLOAT_EQ(kp_input_AccelX(), 0.5f);
    EXPECT_FLOAT_EQ(kp_input_AccelY(), -0.25f);
}

}  // namespace
