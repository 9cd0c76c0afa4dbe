#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

constexpr Box kMusicRow{84, 166, 472, 26};

constexpr Colour kBackdrop{130, 76, 24};  // the options box's orange over the sky

bool ShowsOptions(const Frame& frame) { return frame.Share(kBackdrop) > 0.3; }

// Opens the options box from the title: Left moves to the dial, Space
// turns it. The box takes keys once it has slid down to the top edge.
Frame OpenOptions(const std::string& name) {
    RealProgram::Hold("Left");
    RealProgram::Wait(200);
    RealProgram::Hold("space");
    return NewUser::ShotWhen(name, 10, [](const Frame& f) { return f.Share(kBackdrop, {440, 0, 50, 8}) > 0.9; });
}

void CursorToMusic() {
    for (int row = 0; row < 2; ++row) {
        RealProgram::Hold("Down");
        RealProgram::Wait(200);
    }
}

// The music step set in the options box is saved when the box closes; the
// next start shows it and saves it again.
TEST(NewUser, FindsTheMusicStepChangedInTheOptionsAfterARestart) {
    NewUser user;
    user.Start();
    ASSERT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("options-title", 15, NewUser::IsTitle)));
    ASSERT_TRUE(ShowsOptions(OpenOptions("options")));
    CursorToMusic();
    Frame loud = NewUser::Shot("options-music-loud");
    RealProgram::Hold("space");  // Loud to Normal
    Frame normal = NewUser::ShotWhen("options-music-normal", 10,
                                     [&](const Frame& f) { return f.Difference(loud, kMusicRow) > 2; });
    EXPECT_GT(normal.Difference(loud, kMusicRow), 2) << "the Music row changes";
    EXPECT_EQ(user.State(), "") << "nothing is saved while the box is open";

    RealProgram::Hold("Escape");
    ASSERT_TRUE(WaitFor(10, [&] { return !user.State().empty(); })) << "closing the box saves";
    std::vector<std::string> fields = StateFields(user.State());
    ASSERT_EQ(fields.size(), 203u);
    EXPECT_EQ(fields[7], "1") << "the music step Normal";
    EXPECT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("options-closed", 10, [](const Frame& f) {
        return NewUser::IsTitle(f) && f.Share(kBackdrop) < 0.01;
    })));
    ASSERT_EQ(Press("F4"), 0);
    EXPECT_EQ(user.ExitStatus(), 0);

    user.Start();
    ASSERT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("options-title-again", 15, NewUser::IsTitle)));
    ASSERT_TRUE(ShowsOptions(OpenOptions("options-again")));
    CursorToMusic();
    Frame again = NewUser::Shot("options-music-again");
    EXPECT_LT(again.Difference(normal, kMusicRow), 1) << "the Music row shows Normal";
    EXPECT_GT(again.Difference(loud, kMusicRow), 2);
    std::remove(user.folder.File(".briskostate").c_str());
    RealProgram::Hold("Escape");
    ASSERT_TRUE(WaitFor(10, [&] { return !user.State().empty(); })) << "closing the box saves";
    EXPECT_EQ(StateFields(user.State()), fields) << "the loaded settings, saved again";
    ASSERT_EQ(Press("F4"), 0);
    EXPECT_EQ(user.ExitStatus(), 0);
}

}  // namespace
}  // namespace e2e
