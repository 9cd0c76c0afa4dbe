// The host under real keyboard layouts: the test display's layout changes
// with setxkbmap while the window is open, and keys are pressed by X keycode,
// that is by their place on the keyboard, as a player's fingers do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

using KeyLog = std::vector<std::pair<int, int>>;

// X keycodes of keys by their place on a US keyboard.
constexpr const char* kUsQ = "24";
constexpr const char* kUsW = "25";
constexpr const char* kUsY = "29";
constexpr const char* kUsA = "38";
constexpr const char* kUsSemicolon = "47";
constexpr const char* kUsZ = "52";
constexpr const char* kUsM = "58";
constexpr const char* kUs1 = "10";

constexpr int kFramesPerStep = 10;

void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

std::function<void()> Layout(const std::string& name) {
    return [name] { Shell("setxkbmap -display \"$DISPLAY\" " + name); };
}

// Presses ("key"), holds ("keydown") or lets go of ("keyup") keys.
std::function<void()> Keys(const std::string& action, std::initializer_list<const char*> keycodes) {
    std::string command = "xdotool " + action;
    for (const char* keycode : keycodes) command += std::string(" ") + keycode;
    return [command] { Shell(command); };
}

// Plays its steps a few frames apart, then closes the window, and records
// the key downs and ups the host delivers.
class Player : public KpGameDelegate {
public:
    std::vector<std::function<void()>> steps;
    KeyLog keys;

    void RenderGame() override {
        if (frame++ % kFramesPerStep != 0) return;
        if (next < steps.size()) {
            steps[next++]();
        } else {
            glfw2::CloseWindow();
        }
    }
    void KeyEvent(int event, int code) override {
        if (event != 3) keys.emplace_back(event, code);
    }

private:
    int frame = 0;
    std::size_t next = 0;
};

// Every test leaves the display with the US layout, also when it fails.
// A held key is held, not repeated: on a busy machine a step can take longer
// than the display's repeat delay, and its repeats would add key downs.
class KeyboardLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool started = glfw2::Init();
        ASSERT_TRUE(started) << "needs a display (run under xvfb-run -s -noreset)";
    }

    void SetUp() override {
        Layout("us")();
        Shell("xset -display \"$DISPLAY\" r off");
        player = new Player;
        host.SetDelegate(player);
        host.SetUpdateRate(60);
    }

    void TearDown() override {
        Shell("xset -display \"$DISPLAY\" r rate 660 25");
        Shell("xset -display \"$DISPLAY\" r on");
        Layout("us")();
    }

    KpGlfwGame host;
    Player* player;
};

KeyLog Typed(const std::vector<int>& codes) {
    KeyLog keys;
    for (int code : codes) {
        keys.emplace_back(1, code);
        keys.emplace_back(2, code);
    }
    return keys;
}

TEST_F(KeyboardLayout, LetterKeysFollowTheLayoutWhileTheGameRuns) {
    player->steps = {
        Layout("de"), Keys("key", {kUsY, kUsZ}),
        Layout("fr"), Keys("key", {kUsQ, kUsA, kUsW, kUsZ, kUsM, kUsSemicolon, kUs1}),
        Layout("ru"), Keys("key", {kUsY, kUsA, kUs1}),
        Layout("us"), Keys("key", {kUsY, kUsZ}),
    };
    host.Run();
    KeyLog german = Typed({'Z', 'Y'});
    KeyLog french = Typed({'A', 'Q', 'Z', 'W', 188, 'M', '1'});
    KeyLog russian = Typed({'Y', 'A', '1'});
    KeyLog us = Typed({'Y', 'Z'});
    KeyLog wanted;
    for (const KeyLog* part : {&german, &french, &russian, &us}) wanted.insert(wanted.end(), part->begin(), part->end());
    EXPECT_EQ(player->keys, wanted);
}

// The key labelled Z on a German keyboard is held while the layout becomes
// US, where that key is Y: the game must see Z go up, not stay down.
TEST_F(KeyboardLayout, HeldKeyGoesUpWithTheCodeItWentDownWith) {
    player->steps = {
        Layout("de"), Keys("keydown", {kUsY}),
        Layout("us"), Keys("keyup", {kUsY}),
        // Again, and this time a new window releases the key.
        Layout("de"), Keys("keydown", {kUsY}),
        Layout("us"), [this] { host.SetDeviceWindow(320, 200, 0); },
        Keys("keyup", {kUsY}),
    };
    host.Run();
    EXPECT_EQ(player->keys, Typed({'Z', 'Z'}));
}

// The key labelled Z on a German keyboard repeats on after the layout
// became US, where that key is Y: every repeat and the release stay Z.
TEST_F(KeyboardLayout, HeldKeyRepeatsWithTheCodeItWentDownWith) {
    Shell("xset -display \"$DISPLAY\" r on");
    Shell("xset -display \"$DISPLAY\" r rate 100 50");
    auto wait = [] {};
    player->steps = {Layout("de"), Keys("keydown", {kUsY}), Layout("us"), wait, wait, wait, Keys("keyup", {kUsY})};
    host.Run();
    ASSERT_GT(player->keys.size(), 2u) << "the key repeated";
    for (auto [event, code] : player->keys) EXPECT_EQ(code, 'Z') << "event " << event;
    EXPECT_EQ(player->keys.back(), std::make_pair(2, static_cast<int>('Z')));
}

}  // namespace
