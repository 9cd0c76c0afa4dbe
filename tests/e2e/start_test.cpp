#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

// The text a first run saves: default settings and their checksum, no
// badges, eight empty highscore blocks.
std::string FirstRunState() {
    std::string state = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|";
    for (int word = 0; word < 9; ++word) state += "0|";
    for (int block = 0; block < 8; ++block) {
        for (int field = 0; field < 21; ++field) state += "0|";
    }
    return state;
}

// The first start in an empty folder: the loading screen, then the title
// with its jingle; leaving the window saves the first-run state, Escape ends
// the program, and the next start reads everything back.
TEST(NewUser, FirstStartLoadsIntoTheTitleAndKeepsAFirstRunState) {
    NewUser user;
    auto started = std::chrono::steady_clock::now();
    user.Start();
    Frame loading = NewUser::ShotWhen("loading", 5, [](const Frame& frame) { return frame.Bright() > 0.005; });
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_FALSE(loading.Empty()) << "a window titled Vantaroo";
    EXPECT_EQ(loading.width, 640);
    EXPECT_EQ(loading.height, 480);
    EXPECT_GT(loading.Share({0, 0, 0}), 0.5) << "the loading screen is black, shown after " << seconds << " s";
    EXPECT_GT(loading.Bright(), 0.005) << "with the logo and the rings on it";

    Frame title = NewUser::ShotWhen("title", 15, NewUser::IsTitle);
    ASSERT_TRUE(NewUser::IsTitle(title));
    EXPECT_GT(title.Difference(loading), 30);
    EXPECT_GT(title.Share(kSky, {0, 0, 40, 40}), 0.9) << "the sky shows in the top left corner";
    EXPECT_GT(title.Bright({60, 20, 380, 150}), 0.1) << "the logo";
    EXPECT_LT(title.Share(kSky, {0, 260, 220, 220}), 0.7) << "the wheel in the bottom left";
    EXPECT_LT(title.Share(kSky, {520, 0, 120, 480}), 0.1) << "the panel with the tables darkens the right side";
    EXPECT_EQ(user.Output(), "opening openal device\nHighscores Loaded\n") << "no settings or badges to read yet";

    Recording sound = user.Sound();
    EXPECT_GT(sound.Loudest(0, 3), 2000) << "the jingle, in " << sound.Seconds() << " s of recording";

    {
        OtherWindow other;
        EXPECT_TRUE(WaitFor(10, [&] { return !user.State().empty(); })) << "leaving the window saves";
    }
    EXPECT_EQ(user.State(), FirstRunState());
    EXPECT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("title-back", 10, NewUser::IsTitle)));
    ASSERT_EQ(Press("Escape"), 0);
    EXPECT_EQ(user.ExitStatus(), 0) << "Escape on the title ends the program";

    user.Start();
    EXPECT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("title-again", 15, NewUser::IsTitle)));
    EXPECT_EQ(user.Output(), "opening openal device\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n");
    ASSERT_EQ(Press("F4"), 0);
    EXPECT_EQ(user.ExitStatus(), 0);
    EXPECT_EQ(user.State(), FirstRunState()) << "ending saves nothing";
}

// In the sanitized build LeakSanitizer's tracer at the program's exit can
// crash on a busy machine and end a clean run with status 1; a whole
// program run here leaves that check to the unit tests.
TEST(NewUser, ProgramRunsWithoutTheExitLeakCheck) {
    NewUser user;
    user.Start();
    std::string process = "/proc/" + std::to_string(user.program->Pid());
    // The program's path shows a moment before its environment does, so
    // both are read until the exec has finished.
    std::string options;
    bool execed = WaitFor(15, [&] {
        std::error_code gone;
        if (!std::filesystem::equivalent(process + "/exe", PROGRAM, gone)) return false;
        std::ifstream environment(process + "/environ", std::ios::binary);
        std::string setting;
        bool any = false;
        while (std::getline(environment, setting, '\0')) {
            any = true;
            if (setting.starts_with("ASAN_OPTIONS=")) options = setting;
        }
        return any;
    });
    ASSERT_TRUE(execed);
    EXPECT_TRUE(options.ends_with(":detect_leaks=0")) << options;
}

// State files a crash, a full disk or another program may leave: the game
// starts on each, into the title, and ends normally.
TEST(NewUser, ADamagedStateFileNeverStopsTheStart) {
    std::string whole = FirstRunState();
    const char junk[] = "\xff\xfe\0\1|\x80|||-|99999999999999999999|";
    const std::string damaged[] = {
        whole.substr(0, whole.size() / 2),                          // cut off in the middle
        "0|0|0|0|0|1|0|7|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1|",  // a wrong checksum
        std::string(junk, sizeof junk - 1) + std::string(5000, '|'),
    };
    int number = 0;
    for (const std::string& state : damaged) {
        SCOPED_TRACE("state file " + std::to_string(number));
        NewUser user;
        user.folder.Write(".briskostate", state);
        user.Start();
        EXPECT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("damaged-" + std::to_string(number++), 15, NewUser::IsTitle)))
            << user.Output();
        ASSERT_EQ(Press("F4"), 0);
        EXPECT_EQ(user.ExitStatus(), 0);
        EXPECT_NE(user.Output().find("Highscores Loaded"), std::string::npos);
    }
}

}  // namespace
}  // namespace e2e
