#include "tests/e2e/new_user.h"
#include "tests/host/temp_folder.h"

namespace {

// The real program as a player starts it: the loading screen, the title,
// a bigger window, and F4 to leave.
TEST(GameProgram, LoadsIntoTheTitleAndEndsOnF4) {
    TempFolder folder;
    RealProgram program(folder.path);
    Picture first;
    for (int attempt = 0; attempt < 100 && first.bright < 0.005; ++attempt) {
        RealProgram::Wait(20);
        std::string loading = RealProgram::Shot("loading.png");
        if (!loading.empty()) first = Look(loading, 0, 0, 0);
    }
    EXPECT_GT(first.share, 0.5) << "the loading screen is mostly black";
    EXPECT_GT(first.bright, 0.005) << "with the logo, the rings and the text on it";

    e2e::NewUser::ShotWhen("title", 30, e2e::NewUser::IsTitle);
    Picture title = Look(RealProgram::Shot("title.png"), 20, 80, 160);
    EXPECT_GT(title.share, 0.4) << "the title screen's sky";

    // The small title blown up shows for a frame or two; then the game loads
    // the images for the new size behind its loading screen, which darkens
    // the sky away.
    ASSERT_EQ(RealProgram::Send("windowmove %1 0 0 windowsize %1 1280 960"), 0);
    bool reloaded = false;
    e2e::NewUser::ShotWhen("title-1280", 30, [&](const e2e::Frame& f) {
        reloaded = reloaded || (f.width == 1280 && f.Share(e2e::kSky) < 0.05);
        return reloaded && f.width == 1280 && f.Share(e2e::kSky) > 0.4 &&
               f.Share(e2e::kSky, {1010, 200, 20, 200}) < 0.1;
    });
    Picture bigger = Look(RealProgram::Shot("title-1280.png"), 20, 80, 160);
    EXPECT_EQ(bigger.width, 1280);
    EXPECT_GT(bigger.share, 0.4) << "the title again after reloading at the new size";

    ASSERT_EQ(RealProgram::Send("key F4"), 0);
    EXPECT_EQ(program.ExitStatus(), 0);
}

}  // namespace
