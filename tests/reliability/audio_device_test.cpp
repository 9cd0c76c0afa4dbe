#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

// With no sound device to open, the game says so once and plays silently:
// the jingle, a game with its jump and tune, the pause menu, and a normal
// end.
TEST(AudioDevice, NoneToOpenLeavesTheGameSilentButRunning) {
    TempFolder folder;
    StartedProgram program(
        {.folder = folder.path, .output = folder.File("output.txt"), .environment = {"ALSOFT_DRIVERS=nonexistent"}});
    ASSERT_TRUE(e2e::NewUser::IsTitle(ShotWhen("silent-title", 15, e2e::NewUser::IsTitle)));
    RealProgram::Hold("Return");
    ASSERT_TRUE(e2e::NewUser::IsPlay(ShotWhen("silent-play", 10, e2e::NewUser::IsPlay)));
    RealProgram::Hold("space");
    RealProgram::Hold("Right", 500);
    RealProgram::Hold("Escape");
    RealProgram::Wait(500);
    RealProgram::Hold("Escape");
    EXPECT_TRUE(e2e::NewUser::IsPlay(ShotWhen("silent-play-again", 5, e2e::NewUser::IsPlay)));
    EXPECT_EQ(End(program, Ending::kF4), 0);
    EXPECT_EQ(program.Output(), "opening openal device\nOpenAl error: alcOpenDevice failed\nHighscores Loaded\n");
}

}  // namespace
}  // namespace reliability
