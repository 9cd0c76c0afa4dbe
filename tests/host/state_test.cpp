#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>

#include "host/kp_glfw_game.h"
#include "tests/host/temp_folder.h"
#include "tests/support/root_file_powers.h"

namespace {

// The state file lives in the working folder, so each test runs in its own.
class StateFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(folder.path.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(previous), 0); }

    KpGlfwGame host;
    TempFolder folder;
    char previous[4096];
};

TEST_F(StateFile, MissingFileLoadsAsEmpty) { EXPECT_EQ(host.LoadState().Length(), 0); }

TEST_F(StateFile, SavesUtf8AndReadsItBack) {
    const Char units[] = {u'h', u'i', 0xE9, 0x20AC};
    String state(units, 4);
    EXPECT_EQ(host.SaveState(state), 0);
    EXPECT_EQ(folder.Read(".briskostate"), "hi\xC3\xA9\xE2\x82\xAC");
    EXPECT_TRUE(host.LoadState() == state);

    EXPECT_EQ(host.SaveState(String()), 0);
    EXPECT_EQ(folder.Read(".briskostate"), "");
    EXPECT_EQ(host.LoadState().Length(), 0);
}

TEST_F(StateFile, ReadsUtf16WithByteOrderMark) {
    folder.Write(".briskostate", std::string("\xFF\xFE" "1\0" "2\0", 6));
    EXPECT_EQ(host.LoadState().ToUtf8(), "12");
}

TEST_F(StateFile, FailedSaveKeepsTheOldState) {
    ASSERT_EQ(host.SaveState(String("old highscores")), 0);
    // Nothing can be written where the new state is put together.
    ASSERT_EQ(mkdir(".briskostate.new", 0755), 0);
    EXPECT_EQ(host.SaveState(String("new")), -1);
    EXPECT_EQ(folder.Read(".briskostate"), "old highscores");
}

TEST_F(StateFile, FullDiskKeepsTheOldState) {
    ASSERT_EQ(host.SaveState(String("old highscores")), 0);
    pid_t child = fork();
    if (child == 0) {
        // A file size limit stands in for a full disk, even for root.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(-host.SaveState(String("a much longer new state")));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2) << "a short write reports -2";
    EXPECT_EQ(folder.Read(".briskostate"), "old highscores");
    EXPECT_EQ(folder.Read(".briskostate.new"), "") << "no scratch file is left behind";
}

// A state file the player cannot read, left by another user say, once made
// the game start afresh and replace it, scores and all, at the first save.
TEST_F(StateFile, UnreadableStateIsKeptRatherThanReplaced) {
    folder.Write(".briskostate", "another user's highscores");
    ASSERT_EQ(chmod(folder.File(".briskostate").c_str(), 0), 0);
    pid_t child = fork();
    if (child == 0) {
        bool heldToModes = DropRootsFilePowers() && host.LoadState().Length() == 0;
        _exit(heldToModes ? -host.SaveState(String("new")) : 100);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "SaveState gave -1";
    EXPECT_EQ(folder.Read(".briskostate"), "another user's highscores");
}

}  // namespace
