// The real program on a desktop with a window manager (see on_a_desktop):
// what the player does to the window there, in the middle of a level.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

constexpr Colour kBrick{194, 96, 60};  // the side walls
constexpr Colour kIce{74, 220, 236};   // the floor

// The whole level is on screen: both walls in the outer strips of the
// picture, the floor, and the kangaroo standing just above the floor.
::testing::AssertionResult ShowsWholeLevel(const Frame& frame) {
    int strip = frame.width * 15 / 100;
    if (frame.Find(kBrick, {0, 0, strip, frame.height}).count < 20) return ::testing::AssertionFailure() << "no left wall";
    if (frame.Find(kBrick, {frame.width - strip, 0, strip, frame.height}).count < 20) {
        return ::testing::AssertionFailure() << "no right wall";
    }
    Spot floor = frame.Find(kIce);
    if (floor.count < 50) return ::testing::AssertionFailure() << "no floor";
    Spot kangaroo = frame.Find(kFur, {0, static_cast<int>(floor.y) - frame.height / 8, frame.width, frame.height / 8});
    if (kangaroo.count < 20) return ::testing::AssertionFailure() << "no kangaroo above the floor";
    return ::testing::AssertionSuccess();
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

// The window manager's view of the window: a line of `wmctrl -lx`.
std::string Listed() {
    std::string line;
    if (FILE* list = popen("wmctrl -lx | grep ' Vantaroo$'", "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, list)) line += buffer;
        pclose(list);
    }
    return line;
}

// A new user who has started a game and stands on the bottom row.
class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        user.Start();
        ASSERT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("desktop-title", 30, NewUser::IsTitle)));
        RealProgram::Hold("space");
        ASSERT_TRUE(NewUser::IsPlay(NewUser::ShotWhen("desktop-play", 30, NewUser::IsPlay)));
    }

    // The window's picture once the test holds, with the level's images
    // reloaded for the new size.
    static Frame Settled(const std::string& name, const std::function<bool(const Frame&)>& test) {
        return NewUser::ShotWhen(name, 30, [&](const Frame& f) { return test(f) && ShowsWholeLevel(f); });
    }

    NewUser user;
};

// F11 on a wide screen fits the level to the height, with bars beside it,
// until the level ends; F11 again gives the small window back.
TEST_F(Desktop, FullScreenAndBackInTheMiddleOfALevelKeepsTheWholeLevel) {
    ASSERT_EQ(Press("F11"), 0);
    Frame full = Settled("desktop-full-screen", [](const Frame& f) { return f.width == 1920; });
    EXPECT_EQ(full.width, 1920);
    EXPECT_EQ(full.height, 1080);
    EXPECT_TRUE(ShowsWholeLevel(full));
    EXPECT_NE(Listed().find("vantaroo.vantaroo"), std::string::npos) << "named while full screen: " << Listed();

    ASSERT_EQ(Press("F11"), 0);
    Frame window = Settled("desktop-window-again", [](const Frame& f) { return f.width == 640; });
    EXPECT_EQ(window.height, 480);
    EXPECT_TRUE(ShowsWholeLevel(window));
}

TEST_F(Desktop, MaximisedRestoredAndNarrowWindowsKeepTheWholeLevel) {
    ASSERT_EQ(Shell("wmctrl -r Vantaroo -b add,maximized_vert,maximized_horz"), 0);
    Frame maximised = Settled("desktop-maximised", [](const Frame& f) { return f.width > 1800; });
    EXPECT_TRUE(ShowsWholeLevel(maximised));

    ASSERT_EQ(Shell("wmctrl -r Vantaroo -b remove,maximized_vert,maximized_horz"), 0);
    Frame restored = Settled("desktop-restored", [](const Frame& f) { return f.width == 640; });
    EXPECT_TRUE(ShowsWholeLevel(restored));

    ASSERT_EQ(RealProgram::Send("windowsize %1 450 900"), 0);
    Frame narrow = Settled("desktop-narrow", [](const Frame& f) { return f.width == 450; });
    EXPECT_EQ(narrow.height, 900);
    EXPECT_TRUE(ShowsWholeLevel(narrow));
}

// Minimising suspends and saves; the window given back shows the pause menu.
TEST_F(Desktop, MinimisedGameSavesAndComesBackPaused) {
    ASSERT_EQ(RealProgram::Send("windowminimize"), 0);
    EXPECT_TRUE(WaitFor(15, [&] { return !user.State().empty(); })) << "minimising saves";
    ASSERT_EQ(Shell("wmctrl -a Vantaroo"), 0);
    EXPECT_TRUE(NewUser::IsPaused(NewUser::ShotWhen("desktop-unminimised", 30, NewUser::IsPaused)));
}

// The close button on the window manager's frame ends the program at once,
// with its audio device closed.
TEST_F(Desktop, CloseButtonEndsTheProgram) {
    ASSERT_EQ(Shell("wmctrl -c Vantaroo"), 0);
    EXPECT_EQ(user.ExitStatus(), 0);
    EXPECT_EQ(user.Errors().find("not closed"), std::string::npos) << user.Errors();
}

}  // namespace
}  // namespace e2e
