#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

constexpr Box kLogo{60, 20, 380, 150};

// F11 goes full screen and back; a larger window gets the images drawn for
// its size.
TEST(NewUser, GoesFullScreenAndBackAndGetsSharperImagesInALargerWindow) {
    NewUser user;
    user.Start();
    Frame window = NewUser::ShotWhen("window", 15, NewUser::IsTitle);
    ASSERT_TRUE(NewUser::IsTitle(window));
    Frame screen = NewUser::Shot("screen", "");
    EXPECT_LT(screen.Share(kSky), 0.3) << "a window in the middle of the screen";

    ASSERT_EQ(Press("F11"), 0);
    // A window manager gives the new full-screen window the focus; Xvfb has
    // none, so the window under the pointer, away from where the small
    // window was, gets it here.
    EXPECT_TRUE(WaitFor(10, [&] {
        if (std::system("eval $(xdotool mousemove 10 10 getmouselocation --shell) && xdotool windowfocus $WINDOW") != 0) {
            return false;
        }
        screen = NewUser::Shot("full-screen", "");
        return screen.Share(kSky) > 0.4;
    })) << "the title covers the screen";
    EXPECT_EQ(screen.width, 1280);

    ASSERT_EQ(std::system("xdotool keydown F11 sleep 0.2 keyup F11"), 0);
    Frame back = NewUser::ShotWhen("window-again", 10, NewUser::IsTitle);
    EXPECT_EQ(back.width, 640);
    EXPECT_EQ(back.height, 480);

    // The small title blown up shows for a frame or two; then the game loads
    // the images for the new size behind its loading screen, which darkens
    // the sky away.
    ASSERT_EQ(RealProgram::Send("windowmove %1 0 0 windowsize %1 1280 960"), 0);
    bool reloaded = false;
    Frame large = NewUser::ShotWhen("window-1280", 30, [&](const Frame& f) {
        reloaded = reloaded || (f.width == 1280 && f.Share(kSky) < 0.05);
        return reloaded && f.width == 1280 && f.Share(kSky) > 0.4 && f.Share(kSky, {1010, 200, 20, 200}) < 0.1;
    });
    ASSERT_EQ(large.width, 1280);
    ASSERT_EQ(large.height, 960);
    // Images drawn for the larger size keep the small window's sharp edges,
    // so at twice the size about half as many of the logo's pixels lie on
    // one; the small window's images blown up would blur nearly all away.
    double small = window.Edges(128, kLogo);
    EXPECT_GT(large.Edges(128, {2 * kLogo.x, 2 * kLogo.y, 2 * kLogo.width, 2 * kLogo.height}), 0.35 * small);

    ASSERT_EQ(Press("F4"), 0);
    EXPECT_EQ(user.ExitStatus(), 0) << "F4 ends the program";
}

}  // namespace
}  // namespace e2e
