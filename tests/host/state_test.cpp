#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

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

// Saving in a child held to file modes as anybody but root is; its exit
// status is minus the save's result (100 when it could not be held).
int SaveAsOwner(KpGlfwGame& host, const char* state) {
    pid_t child = fork();
    if (child == 0) _exit(DropRootsFilePowers() ? -host.SaveState(String(state)) : 100);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The names in the folder besides the state file: scratch files left over.
std::vector<std::string> Leftovers(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        if (entry.path().filename() != ".briskostate") names.push_back(entry.path().filename());
    }
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// A state file its owner made read-only stays as it is, as it would if the
// game opened it for writing.
TEST_F(StateFile, ReadOnlyStateIsKept) {
    ASSERT_EQ(host.SaveState(String("old highscores")), 0);
    ASSERT_EQ(chmod(".briskostate", 0444), 0);
    EXPECT_EQ(SaveAsOwner(host, "new"), 1) << "SaveState gave -1";
    EXPECT_EQ(folder.Read(".briskostate"), "old highscores");
    EXPECT_EQ(ModeOf(".briskostate"), 0444u);
    EXPECT_TRUE(Leftovers(folder).empty());
}

// Dotfiles kept in a synced folder and linked into place stay links; the
// file behind the link gets the new state and keeps its modes.
TEST_F(StateFile, LinkedStateStaysALinkAndItsTargetIsSaved) {
    TempFolder synced;
    synced.Write("vantaroo-state", "old");
    ASSERT_EQ(chmod(synced.File("vantaroo-state").c_str(), 0640), 0);
    const std::string relative = std::filesystem::relative(synced.path, folder.path).string() + "/vantaroo-state";
    std::filesystem::create_symlink(relative, ".briskostate");

    ASSERT_EQ(host.SaveState(String("new highscores")), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(".briskostate"));
    EXPECT_EQ(std::filesystem::read_symlink(".briskostate").string(), relative);
    EXPECT_EQ(synced.Read("vantaroo-state"), "new highscores");
    EXPECT_EQ(ModeOf(synced.File("vantaroo-state")), 0640u);
    EXPECT_EQ(host.LoadState().ToUtf8(), "new highscores");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(synced.path), {}), 1) << "no scratch file is left";
}

// A link whose file is not there yet gets it at the first save.
TEST_F(StateFile, DanglingLinkGetsItsFile) {
    TempFolder synced;
    std::filesystem::create_symlink(synced.File("state"), ".briskostate");
    ASSERT_EQ(host.SaveState(String("first")), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(".briskostate"));
    EXPECT_EQ(synced.Read("state"), "first");
}

TEST_F(StateFile, SaveKeepsThePermissionBits) {
    folder.Write(".briskostate", "old");
    ASSERT_EQ(chmod(".briskostate", 0600), 0);
    ASSERT_EQ(host.SaveState(String("new")), 0);
    EXPECT_EQ(ModeOf(".briskostate"), 0600u);
}

// Two instances of the game saving in one folder at once: every save of
// each succeeds and the file always holds one whole state.
TEST_F(StateFile, TwoInstancesSavingAtOnceNeverMixTheirStates) {
    const std::string states[2] = {std::string(200000, 'a'), std::string(100000, 'b')};
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        if (children[i] == 0) {
            KpGlfwGame instance;
            for (int save = 0; save < 100; ++save) {
                if (instance.SaveState(String(states[i].c_str())) != 0) _exit(1);
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every save succeeds";
    }
    std::string saved = folder.Read(".briskostate");
    EXPECT_TRUE(saved == states[0] || saved == states[1]) << saved.size() << " bytes";
    EXPECT_TRUE(Leftovers(folder).empty());
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
    EXPECT_TRUE(Leftovers(folder).empty()) << "no scratch file is left behind";
}

// A state file the player cannot read, left by another user say, once made
// the game start afresh and replace it, scores and all, at the first save.
TEST_F(StateFile, UnreadableStateIsKeptRatherThanReplaced) {
    folder.Write(".briskostate", "another user's highscores");
    ASSERT_EQ(chmod(folder.File(".briskostate").c_str(), 0), 0);
    EXPECT_EQ(SaveAsOwner(host, "new"), 1) << "SaveState gave -1";
    EXPECT_EQ(folder.Read(".briskostate"), "another user's highscores");
}

}  // namespace
