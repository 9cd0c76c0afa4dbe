#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/kp_glfw_game.h"
#include "tests/host/temp_folder.h"
#include "tests/support/as_player.h"

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

// Runs `body` in a forked child working in `folder` as the player; gives
// its exit status, or -1 when the child could not become the player or did
// not exit.
int AsPlayer(const std::string& folder, const std::function<int()>& body) {
    constexpr int kNoPlayer = 255;
    pid_t child = fork();
    if (child == 0) _exit(chdir(folder.c_str()) == 0 && BecomePlayer() ? body() : kNoPlayer);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != kNoPlayer ? WEXITSTATUS(status) : -1;
}

// Gives what SaveState gave as the player, or -100 when it could not run.
int SaveAsPlayer(KpGlfwGame& host, const std::string& folder, const char* state) {
    int status = AsPlayer(folder, [&] { return -host.SaveState(String(state)); });
    return status < 0 ? -100 : -status;
}

// Gives what SaveState gave in a forked child working in `folder`, as the
// player or as this process's user, or -100 when it could not run; a save
// that hangs is cut short after ten seconds.
int SaveInChild(const std::string& folder, const char* state, bool asPlayer) {
    pid_t child = fork();
    if (child == 0) {
        alarm(10);
        KpGlfwGame host;
        bool ready = chdir(folder.c_str()) == 0 && (!asPlayer || BecomePlayer());
        _exit(ready ? -host.SaveState(String(state)) : 100);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 100 ? -WEXITSTATUS(status) : -100;
}

// Scratch files left over in the folder.
std::vector<std::string> Leftovers(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        if (entry.path().extension() == ".new") names.push_back(entry.path().filename());
    }
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
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

// A file size limit the player set (ulimit -f) fails a longer save with a
// short write, through the scratch file and in place alike: the old state
// stays whole and the game goes on, the signal for the limit aside.
TEST_F(StateFile, FileSizeLimitKeepsTheOldStateAndTheGame) {
    for (bool hardLinked : {false, true}) {
        SCOPED_TRACE(hardLinked ? "in place" : "scratch file");
        ASSERT_EQ(host.SaveState(String("old highscores")), 0);
        if (hardLinked) {
            ASSERT_EQ(link(".briskostate", "backup"), 0);
        }
        pid_t child = fork();
        if (child == 0) {
            rlimit limit{4, 4};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(-host.SaveState(String("a much longer new state")));
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 2) << "a short write reports -2";
        EXPECT_EQ(folder.Read(".briskostate"), "old highscores");
        EXPECT_TRUE(Leftovers(folder).empty()) << "no scratch file is left behind";
    }
}

// A save that died leaves its scratch file; where the pid repeats (a PID
// namespace) the next run has the same name and must still save. A scratch
// file another live save holds is never touched.
TEST_F(StateFile, ScratchFileWithOurPidNeverBlocksASave) {
    const std::string scratch = ".briskostate." + std::to_string(getpid()) + ".new";
    folder.Write(scratch, "half a state");
    ASSERT_EQ(host.SaveState(String("saved")), 0);
    EXPECT_EQ(folder.Read(".briskostate"), "saved");
    EXPECT_TRUE(Leftovers(folder).empty());

    folder.Write(scratch, "a live save's state");
    int held[2], done[2];
    ASSERT_EQ(pipe(held), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t live = fork();
    if (live == 0) {
        int scratchFile = open(scratch.c_str(), O_RDONLY);
        char byte = flock(scratchFile, LOCK_EX) == 0 ? 'y' : 'n';
        if (write(held[1], &byte, 1) != 1 || read(done[0], &byte, 1) != 1) _exit(1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(held[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    int result = host.SaveState(String("saved beside a live save"));
    ASSERT_EQ(write(done[1], &byte, 1), 1);
    waitpid(live, nullptr, 0);
    for (int end : {held[0], held[1], done[0], done[1]}) close(end);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(folder.Read(".briskostate"), "saved beside a live save");
    EXPECT_EQ(folder.Read(scratch), "a live save's state");
}

// Saves that died under other pids leave scratch files that no later run
// would take over; the next save clears them. One a live save holds, and
// names that only look alike, stay.
TEST_F(StateFile, ScratchFilesOfDeadSavesAreCleared) {
    for (const char* name : {".briskostate.17.new", ".briskostate.4194304.new", ".briskostate.23.new",
                             ".briskostate.new", ".briskostate.1a.new", "notes.17.new"}) {
        folder.Write(name, "half a state");
    }
    int held = open(".briskostate.23.new", O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_EQ(host.SaveState(String("saved")), 0);
    close(held);
    std::vector<std::string> left = Leftovers(folder);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".briskostate.1a.new", ".briskostate.23.new", ".briskostate.new",
                                              "notes.17.new"}));
    EXPECT_EQ(folder.Read(".briskostate"), "saved");
}

TEST_F(StateFile, HardLinkedStateStaysLinked) {
    folder.Write(".briskostate", "old");
    ASSERT_EQ(link(".briskostate", "backup-name"), 0);
    ASSERT_EQ(host.SaveState(String("new highscores")), 0);
    EXPECT_EQ(folder.Read("backup-name"), "new highscores");
    EXPECT_EQ(folder.Read(".briskostate"), "new highscores");
}

// A link on the scratch name, a snapshot tool's hard link (cp -al,
// rsnapshot) or a symbolic one, ties it to another of the player's files:
// that file stays as it was, and the state gets a file of its own with no
// second name.
TEST_F(StateFile, ScratchNameLinkedToAnotherFileLeavesThatFileAlone) {
    folder.Write("notes", "the player's notes");
    const std::string scratch = ".briskostate." + std::to_string(getpid()) + ".new";
    for (bool symbolic : {false, true}) {
        SCOPED_TRACE(symbolic ? "symbolic link" : "hard link");
        folder.Write(".briskostate", "old");
        ASSERT_EQ(symbolic ? symlink("notes", scratch.c_str()) : link("notes", scratch.c_str()), 0);
        ASSERT_EQ(host.SaveState(String("new highscores")), 0);
        EXPECT_EQ(folder.Read("notes"), "the player's notes");
        EXPECT_EQ(folder.Read(".briskostate"), "new highscores");
        struct stat status {};
        ASSERT_EQ(lstat(".briskostate", &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(status.st_nlink, 1u) << "later saves go through a scratch file again";
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// A scratch file a dead save left that the player may read but not write (a
// sudo run's) is cleared all the same: the player's folder lets it go.
TEST(PlayersSave, ClearsDeadScratchFilesThePlayerMayNotWrite) {
    TempFolder folder;
    const std::string state = folder.Write(".briskostate", "old highscores");
    const std::string scratch = folder.Write(".briskostate.17.new", "half a state");
    ASSERT_TRUE(GiveToPlayer(folder.path));
    ASSERT_TRUE(GiveToPlayer(state));
    ASSERT_EQ(chmod(scratch.c_str(), 0444), 0);
    KpGlfwGame host;
    EXPECT_EQ(SaveAsPlayer(host, folder.path, "new highscores"), 0);
    EXPECT_EQ(folder.Read(".briskostate"), "new highscores");
    EXPECT_TRUE(Leftovers(folder).empty());
}

std::string ReadToTheEnd(int descriptor) {
    std::string bytes;
    char chunk[256];
    for (ssize_t got; (got = read(descriptor, chunk, sizeof chunk)) > 0;) bytes.append(chunk, got);
    return bytes;
}

// A state linked to the game's standard output (/dev/stdout, /dev/fd/1) is
// printed there after what the game printed before, into a pipe or a file
// alike: the file is neither replaced nor written over.
TEST(StateLinkedToStandardOutput, IsPrintedAfterWhatWasPrintedBefore) {
    const struct {
        const char* link;
        bool intoPipe;  // else into a file, as a shell's '>' opens it
    } cases[] = {{"/dev/stdout", false}, {"/dev/fd/1", false}, {"/dev/stdout", true}, {"/proc/self/fd/1", true}};
    for (const auto& setup : cases) {
        SCOPED_TRACE(std::string(setup.link) + (setup.intoPipe ? " into a pipe" : " into a file"));
        TempFolder folder, outside;
        std::filesystem::create_symlink(setup.link, folder.File(".briskostate"));
        const std::string file = outside.Write("output", "");
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        pid_t child = fork();
        if (child == 0) {
            alarm(10);
            KpGlfwGame host;
            int output = setup.intoPipe ? ends[1] : open(file.c_str(), O_WRONLY | O_TRUNC);
            bool ready = dup2(output, STDOUT_FILENO) == STDOUT_FILENO && chdir(folder.path.c_str()) == 0 &&
                         write(STDOUT_FILENO, "printed before\n", 15) == 15;
            _exit(ready ? -host.SaveState(String("new highscores")) : 100);
        }
        close(ends[1]);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string printed = setup.intoPipe ? ReadToTheEnd(ends[0]) : outside.Read("output");
        close(ends[0]);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "SaveState gave " << -WEXITSTATUS(status);
        EXPECT_EQ(printed, "printed before\nnew highscores");
        EXPECT_TRUE(std::filesystem::is_symlink(folder.File(".briskostate")));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path), {}), 1) << "no scratch file";
    }
}

// A state sent somewhere that is no regular file (a device such as
// /dev/null, a FIFO another program reads) takes the bytes as a plain write
// gives them and stays what it is: nothing is renamed over it and the save
// reports no failure.
TEST(StateThatIsNoRegularFile, TakesTheBytesAndStaysWhatItIs) {
    enum class Sink { kDevNull, kNullDeviceNode, kFifo };
    struct Case {
        const char* name;
        Sink sink;
        bool byPlayer;  // else by this process's user, root in CI
    };
    const Case cases[] = {
        {"/dev/null, by the player", Sink::kDevNull, true},
        {"a node of the null device, by root", Sink::kNullDeviceNode, false},
        {"a node of the null device, by the player", Sink::kNullDeviceNode, true},
        {"a FIFO with a reader, by root", Sink::kFifo, false},
        {"a FIFO with a reader, by the player", Sink::kFifo, true},
    };
    for (const Case& setup : cases) {
        SCOPED_TRACE(setup.name);
        if (setup.sink == Sink::kNullDeviceNode && geteuid() != 0) continue;
        TempFolder folder;
        std::string sink = folder.File("sink");
        if (setup.sink == Sink::kDevNull) sink = "/dev/null";
        if (setup.sink == Sink::kNullDeviceNode) {
            ASSERT_EQ(mknod(sink.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        }
        if (setup.sink == Sink::kFifo) {
            ASSERT_EQ(mkfifo(sink.c_str(), 0666), 0);
        }
        ASSERT_TRUE(setup.sink == Sink::kDevNull || GiveToPlayer(sink));
        ASSERT_TRUE(GiveToPlayer(folder.path));
        std::filesystem::create_symlink(sink, folder.File(".briskostate"));
        const mode_t kind = std::filesystem::is_fifo(sink) ? S_IFIFO : S_IFCHR;
        const int reader = kind == S_IFIFO ? open(sink.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        ASSERT_TRUE(kind != S_IFIFO || reader >= 0);

        testing::internal::CaptureStderr();
        const int result = SaveInChild(folder.path, "new highscores", setup.byPlayer);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 0);
        EXPECT_EQ(told, "");
        struct stat status {};
        ASSERT_EQ(lstat(sink.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & S_IFMT, kind) << "still what it was";
        if (reader >= 0) {
            char received[64] = {};
            EXPECT_EQ(std::string(received, std::max<ssize_t>(read(reader, received, sizeof received), 0)),
                      "new highscores");
            close(reader);
        }
        EXPECT_TRUE(std::filesystem::is_symlink(folder.File(".briskostate")));
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// A FIFO nobody reads fails the save instead of stopping the game.
TEST_F(StateFile, FifoNobodyReadsFailsTheSave) {
    ASSERT_EQ(mkfifo(".briskostate", 0666), 0);
    EXPECT_EQ(SaveInChild(folder.path, "new highscores", false), -1);
    EXPECT_TRUE(std::filesystem::is_fifo(".briskostate"));
}

// How a state file and its folder are set up for the player, and whether
// the player's save lands or keeps the old state.
struct PlayerSetup {
    const char* name;
    mode_t folderMode;    // the player's folder
    bool playersFile;     // else root's, as a sudo run leaves it
    mode_t fileMode;
    bool saved;           // in place where the folder or owner asks for it
};

uid_t OwnerOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_uid;
}

// The player's save either lands with the file's owner and modes as they
// were, or keeps the old state whole and says why once; it never leaves a
// scratch file behind.
void SaveAsPlayerInEach(const std::vector<PlayerSetup>& setups) {
    for (const PlayerSetup& setup : setups) {
        SCOPED_TRACE(setup.name);
        TempFolder folder;
        const std::string state = folder.Write(".briskostate", "old highscores");
        ASSERT_TRUE(GiveToPlayer(folder.path));
        ASSERT_TRUE(!setup.playersFile || GiveToPlayer(state));
        ASSERT_EQ(chmod(state.c_str(), setup.fileMode), 0);
        ASSERT_EQ(chmod(folder.path.c_str(), setup.folderMode), 0);
        const uid_t owner = OwnerOf(state);

        KpGlfwGame host;
        testing::internal::CaptureStderr();
        const int result = SaveAsPlayer(host, folder.path, "new highscores");
        const std::string told = testing::internal::GetCapturedStderr();
        ASSERT_NE(result, -100) << "could not become the player";
        EXPECT_EQ(result, setup.saved ? 0 : -1);
        EXPECT_EQ(folder.Read(".briskostate"), setup.saved ? "new highscores" : "old highscores");
        EXPECT_EQ(told, setup.saved ? "" : "Vantaroo: cannot save " + state + ": Permission denied\n");
        EXPECT_EQ(ModeOf(state), setup.fileMode);
        EXPECT_EQ(OwnerOf(state), owner);
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// Files of the player's own: one made read-only or unreadable is kept as
// it would be if the game opened it for writing; one the player may write
// in a folder the player may not (a shared game folder) is written in place.
TEST(PlayersSave, OfTheirOwnFilesFollowsTheModes) {
    SaveAsPlayerInEach({
        {"read-only file", 0755, true, 0444, false},
        {"unreadable file", 0755, true, 0, false},
        {"writable file in a read-only folder", 0555, true, 0644, true},
    });
}

// A file root left in the player's folder (a sudo run): the player's own
// folder would let a rename replace it, but a file the player may not write
// stays, and one anybody may write is written in place and stays root's.
TEST(PlayersSave, OfAFileRootLeftFollowsItsModes) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can leave a file of another user in the player's folder";
    SaveAsPlayerInEach({
        {"root's file the player may not write", 0755, false, 0644, false},
        {"root's file anybody may write", 0755, false, 0666, true},
    });
}

// A save leaves the file with the owner and group it had, whichever of the
// two differs from the saver's: root's save (a sudo run) gives them back,
// and a player who may not give the file its group (a shared games group
// the player is not in) writes it in place.
TEST(ReplacedFile, KeepsItsOwnerAndGroup) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user or group";
    struct Owners {
        const char* name;
        uid_t uid;
        gid_t gid;
        bool byPlayer;  // else by root
    };
    const Owners cases[] = {
        {"another user and that user's group, by root", 65534, 65534, false},
        {"another user and another group, by root", 65534, 100, false},
        {"root and the games group, by root", 0, 60, false},
        {"another user and root's group, by root", 65534, 0, false},
        {"the player and the games group, by the player", ThePlayer().uid, 60, true},
    };
    for (const Owners& owners : cases) {
        SCOPED_TRACE(owners.name);
        TempFolder folder;
        const std::string state = folder.Write(".briskostate", "old");
        ASSERT_TRUE(GiveToPlayer(folder.path));
        ASSERT_EQ(chown(state.c_str(), owners.uid, owners.gid), 0);
        ASSERT_EQ(SaveInChild(folder.path, "new", owners.byPlayer), 0);
        struct stat status {};
        ASSERT_EQ(stat(state.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, owners.uid);
        EXPECT_EQ(status.st_gid, owners.gid);
        EXPECT_EQ(folder.Read(".briskostate"), "new");
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// A one-file bind mount, as containers give: a rename onto it cannot land.
TEST_F(StateFile, BindMountedStateIsSaved) {
    TempFolder outside;
    outside.Write("state", "old");
    folder.Write(".briskostate", "");
    pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(outside.File("state").c_str(), ".briskostate", nullptr, MS_BIND, nullptr) != 0) {
            _exit(100);
        }
        _exit(-host.SaveState(String("new highscores")));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "no bind mount allowed here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "SaveState gave " << -WEXITSTATUS(status);
    EXPECT_EQ(outside.Read("state"), "new highscores");
    EXPECT_TRUE(Leftovers(folder).empty()) << "the scratch file the rename could not land is gone";
}

// A small file system of its own over `folder`, seen by this process and
// its children alone, gone with this object.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder(folder) {
        mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                  mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    }
    ~SmallDisk() {
        if (mounted) umount2(folder.c_str(), MNT_DETACH);
    }

    // Fills it with the file `filler` up to `room` bytes, a whole number of
    // pages.
    bool FillLeaving(const std::string& filler, off_t room) const {
        int descriptor = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string page(4096, 'f');
        while (write(descriptor, page.data(), page.size()) == static_cast<ssize_t>(page.size())) {
        }
        struct stat status {};
        bool filled = fstat(descriptor, &status) == 0 && status.st_size > room &&
                      ftruncate(descriptor, status.st_size / 4096 * 4096 - room) == 0;
        close(descriptor);
        return filled;
    }

    bool mounted;

private:
    std::string folder;
};

struct DiskSetup {
    const char* name;
    bool hardLinked;      // written in place
    bool readOnlyFolder;  // written in place as well
};

// A save the disk has no room for fails before it touches the old state,
// whether it goes through a scratch file or writes the file in place; once
// room is made the next save lands; each is told once.
TEST(FullDisk, KeepsTheOldStateWholeUntilThereIsRoom) {
    const std::string longer(3 * 4096, 'n');
    const DiskSetup setups[] = {
        {"scratch file", false, false},
        {"hard link", true, false},
        {"read-only folder", false, true},
    };
    for (const DiskSetup& setup : setups) {
        SCOPED_TRACE(setup.name);
        TempFolder folder;
        SmallDisk disk(folder.path);
        if (!disk.mounted) GTEST_SKIP() << "no file system of its own may be mounted here: " << std::strerror(errno);
        const std::string state = folder.Write(".briskostate", "old highscores");
        if (setup.hardLinked) {
            ASSERT_EQ(link(state.c_str(), folder.File("backup").c_str()), 0);
        }
        ASSERT_TRUE(disk.FillLeaving(folder.File("filler"), 4096));
        for (const std::string& path : {folder.path, state, folder.File("filler")}) ASSERT_TRUE(GiveToPlayer(path));
        if (setup.readOnlyFolder) {
            ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
        }

        testing::internal::CaptureStderr();
        const int outcome = AsPlayer(folder.path, [&] {
            KpGlfwGame host;
            int full = host.SaveState(String(longer.c_str()));
            bool kept = folder.Read(".briskostate") == "old highscores";
            int roomy = truncate("filler", 0) == 0 ? host.SaveState(String(longer.c_str())) : -9;
            return (kept ? 0 : 100) - 10 * full - roomy;
        });
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(outcome, 20) << "tens: minus the full disk's save's result; ones: minus the next; 100: the old "
                                  "state changed";
        EXPECT_EQ(folder.Read(".briskostate"), longer);
        EXPECT_EQ(told, "Vantaroo: cannot save " + state + ": No space left on device\nVantaroo: saved " + state +
                            " again\n");
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// Starts the player's save of `state` in `folder` in a process of its own,
// which waits until the write end of `go` is closed.
pid_t StartSaveAsPlayer(const std::string& folder, const std::string& state, const int go[2]) {
    pid_t child = fork();
    if (child == 0) {
        close(go[1]);
        char byte;
        KpGlfwGame host;
        bool ready = chdir(folder.c_str()) == 0 && BecomePlayer() && read(go[0], &byte, 1) == 0;
        _exit(ready ? -host.SaveState(String(state.c_str())) : 100);
    }
    return child;
}

// Two instances saving in place at once, a long state and a short one,
// take turns: each save succeeds and the file ends as one whole state,
// never the bytes of one over the other's or cut to the wrong length.
TEST(InPlaceSaves, AtOnceNeverMixTheirBytes) {
    const std::string states[2] = {std::string(3000, 'A'), std::string(1000, 'B')};
    const DiskSetup setups[] = {
        {"hard link", true, false},
        {"read-only folder", false, true},
    };
    for (const DiskSetup& setup : setups) {
        SCOPED_TRACE(setup.name);
        TempFolder folder;
        const std::string state = folder.Write(".briskostate", "old highscores");
        if (setup.hardLinked) {
            ASSERT_EQ(link(state.c_str(), folder.File("backup").c_str()), 0);
        }
        for (const std::string& path : {folder.path, state}) ASSERT_TRUE(GiveToPlayer(path));
        if (setup.readOnlyFolder) {
            ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
        }
        int mixed = 0;
        std::string example;
        for (int trial = 0; trial < 100; ++trial) {
            int go[2];
            ASSERT_EQ(pipe(go), 0);
            const pid_t savers[2] = {StartSaveAsPlayer(folder.path, states[0], go),
                                     StartSaveAsPlayer(folder.path, states[1], go)};
            close(go[0]);
            close(go[1]);
            for (pid_t saver : savers) {
                int status = 0;
                waitpid(saver, &status, 0);
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every save succeeds";
            }
            const std::string saved = folder.Read(".briskostate");
            if (saved == states[0] || saved == states[1]) continue;
            ++mixed;
            example = std::to_string(saved.size()) + " bytes, " +
                      std::to_string(std::count(saved.begin(), saved.end(), 'A')) + " of them 'A', " +
                      std::to_string(std::count(saved.begin(), saved.end(), 'B')) + " 'B'";
        }
        EXPECT_EQ(mixed, 0) << "of 100 trials left neither state, the last " << example;
        EXPECT_TRUE(Leftovers(folder).empty());
    }
}

// A program that keeps a lock on the state file for good makes an in-place
// save fail after a while instead of stopping the game; the old state stays
// and the next save once the lock is gone lands.
TEST_F(StateFile, LockKeptForGoodFailsAnInPlaceSave) {
    folder.Write(".briskostate", "old highscores");
    ASSERT_EQ(link(".briskostate", "backup"), 0);
    const int held = open(".briskostate", O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    testing::internal::CaptureStderr();
    const int whileHeld = host.SaveState(String("new highscores"));
    const std::string kept = folder.Read(".briskostate");
    close(held);
    const int afterwards = host.SaveState(String("new highscores"));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(whileHeld, -1);
    EXPECT_EQ(kept, "old highscores");
    EXPECT_EQ(afterwards, 0);
    EXPECT_EQ(folder.Read(".briskostate"), "new highscores");
    EXPECT_EQ(told, "Vantaroo: cannot save " + folder.path + "/.briskostate: Resource temporarily unavailable\n"
                    "Vantaroo: saved " + folder.path + "/.briskostate again\n");
}

// A failing save is told once with its path and reason, and so is the
// first save that works again.
TEST_F(StateFile, FailingAndRecoveredSavesAreReportedOnce) {
    ASSERT_EQ(mkdir(".briskostate", 0755), 0);
    testing::internal::CaptureStderr();
    EXPECT_NE(host.SaveState(String("a")), 0);
    EXPECT_NE(host.SaveState(String("b")), 0);
    ASSERT_EQ(rmdir(".briskostate"), 0);
    EXPECT_EQ(host.SaveState(String("c")), 0);
    EXPECT_EQ(host.SaveState(String("d")), 0);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, "Vantaroo: cannot save " + folder.path + "/.briskostate: Is a directory\n"
                    "Vantaroo: saved " + folder.path + "/.briskostate again\n");
}

}  // namespace
