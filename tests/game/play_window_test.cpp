#include "tests/e2e/new_user.h"
#include "tests/host/temp_folder.h"

namespace {

// The player's way in: the title's fire key starts a game at the speed on
// the wheel, the first layout drops in on the night-blue play screen.
TEST(PlayWindow, FireOnTheTitleStartsAGame) {
    TempFolder folder;
    RealProgram program(folder.path);
    ASSERT_TRUE(e2e::NewUser::IsTitle(e2e::NewUser::ShotWhen("fire-title", 30, e2e::NewUser::IsTitle)));
    RealProgram::Hold("space");
    e2e::NewUser::ShotWhen("fire-play", 30, e2e::NewUser::IsPlay);
    Picture play = Look(RealProgram::Shot("play.png"), 0, 0, 80);
    EXPECT_GT(play.share, 0.3) << "the play background";
    EXPECT_GT(play.bright, 0.01) << "walls, platforms, the player and the score";

    RealProgram::Hold("space");
    RealProgram::Wait(150);
    Picture jump = Look(RealProgram::Shot("play-jump.png"), 0, 0, 80);
    EXPECT_GT(jump.share, 0.3);

    EXPECT_EQ(RealProgram::Send("key F4"), 0);
    EXPECT_EQ(program.ExitStatus(), 0);
}

}  // namespace
