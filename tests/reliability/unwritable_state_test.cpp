#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "host/kp_glfw_game.h"
#include "tests/host/temp_folder.h"
#include "tests/support/as_player.h"

namespace {

// In a working folder nobody may write, holding a state file nobody may
// write, the state still loads but a save reports -1 and leaves the folder
// as it was.
TEST(UnwritableFolder, SaveStateReportsMinusOneAndTheOldStateStays) {
    TempFolder folder;
    folder.Write(".briskostate", "old highscores");
    ASSERT_EQ(chmod(folder.File(".briskostate").c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
    pid_t child = fork();
    if (child == 0) {
        KpGlfwGame host;
        bool held = chdir(folder.path.c_str()) == 0 && BecomePlayer();
        bool loads = held && host.LoadState().ToUtf8() == "old highscores";
        _exit(loads ? -host.SaveState(String("new highscores")) : 100);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "SaveState gave -1";
    EXPECT_EQ(folder.Read(".briskostate"), "old highscores");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1) << "nothing else was written";
}

}  // namespace
