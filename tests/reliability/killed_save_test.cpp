#include <sched.h>
#include <sys/file.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <filesystem>
#include <random>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

constexpr int kStepMilliseconds = 200;
const char* const kRenamed = "renamed\nfsync folder\n";
const char* const kWrittenInPlace = "truncate\nfsync\n";
const char* const kLoaded = "opening openal device\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n";

// What a kill leaves in the state file.
enum class Left { kOld, kNew, kNewThenTheOldTail };

// A step of the save, as the slow_save library notes it (with the steps
// before it where its name repeats), and what a kill during it must leave.
struct KillPoint {
    const char* step;
    Left left;
};

// How the save goes: through a scratch file renamed into place, or, for a
// state file with a second name, in place. A state the game reads but does
// not write shows which state is there.
struct SavePath {
    const char* name;
    bool hardLinked;
    std::string oldState;
    const char* saved;  // the last steps of a save
    // Settings for the slow_save library that make the file system lack
    // something.
    std::vector<std::string> fileSystem{};
};

bool Noted(const TempFolder& logs, const std::string& steps) {
    return logs.Read("steps.log").find(steps + "\n") != std::string::npos;
}

std::string Expected(Left left, const std::string& oldState) {
    const std::string newState = FirstRunState();
    if (left == Left::kOld) return oldState;
    if (left == Left::kNew) return newState;
    return newState + oldState.substr(newState.size());
}

// The program has read the state and its window has the focus.
void WaitUntilStarted(StartedProgram& program) {
    ASSERT_FALSE(program.PidNamespaceRefused());
    ASSERT_TRUE(e2e::WaitFor(15, [&] {
        return program.Output().find("Highscores Loaded") != std::string::npos && RealProgram::Send("") == 0;
    })) << "the state read and the window with the focus";
    EXPECT_EQ(program.Output(), kLoaded);
}

// The next start reads whatever the kill left as a whole state and saves
// the state it plays with; its save ends with the steps `saved`.
void NextRunSaves(const TempFolder& folder, const std::string& saved, bool ownPidNamespace) {
    TempFolder logs;
    StartedProgram program({.folder = folder.path,
                            .output = logs.File("output.txt"),
                            .environment = SlowSaves(logs.File("steps.log"), 0),
                            .ownPidNamespace = ownPidNamespace});
    WaitUntilStarted(program);
    EXPECT_TRUE(LeaveUntil(10, [&] { return logs.Read("steps.log").ends_with(saved); })) << logs.Read("steps.log");
    EXPECT_EQ(folder.Read(".briskostate"), FirstRunState());
}

// The program is killed at a random moment inside each step of a save it
// makes on leaving the window, each step made slow enough to be hit. The
// state file then holds the old state or the new one whole; only in place,
// where no rename stands between them, a kill after the new bytes are
// written and before the length is cut leaves the new state followed by
// the tail of a longer old one, which the game reads as the new state. The
// next start reads it and saves.
void KillAtEachStep(const SavePath& path, std::initializer_list<KillPoint> points) {
    SCOPED_TRACE(path.name);
    unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.step);
        TempFolder folder, logs;
        folder.Write(".briskostate", path.oldState);
        if (path.hardLinked) {
            ASSERT_EQ(link(folder.File(".briskostate").c_str(), folder.File("backup").c_str()), 0);
        }
        std::vector<std::string> environment = SlowSaves(logs.File("steps.log"), kStepMilliseconds);
        environment.insert(environment.end(), path.fileSystem.begin(), path.fileSystem.end());
        {
            StartedProgram program(
                {.folder = folder.path, .output = logs.File("output.txt"), .environment = environment});
            WaitUntilStarted(program);
            e2e::OtherWindow other;
            ASSERT_TRUE(e2e::WaitFor(10, [&] { return Noted(logs, point.step); })) << logs.Read("steps.log");
            RealProgram::Wait(std::uniform_int_distribution<int>(0, kStepMilliseconds / 2)(random));
            program.Kill();
        }
        EXPECT_EQ(folder.Read(".briskostate"), Expected(point.left, path.oldState)) << logs.Read("steps.log");
        NextRunSaves(folder, path.saved, false);
    }
}

TEST(KilledSave, ThroughTheScratchFileLeavesTheOldOrTheNewStateWhole) {
    KillAtEachStep({"scratch file", false, FirstRunState() + "old|", kRenamed},
                   {{"open", Left::kOld},
                    {"truncate", Left::kOld},
                    {"write", Left::kOld},
                    {"fsync", Left::kOld},
                    {"rename", Left::kOld},
                    {"renamed", Left::kNew},
                    {"fsync folder", Left::kNew}});
}

TEST(KilledSave, InPlaceLeavesTheOldOrTheNewStateWholeWhenTheNewIsLonger) {
    const std::string whole = FirstRunState();
    KillAtEachStep({"in place, longer", true, whole.substr(0, whole.size() / 2), kWrittenInPlace},
                   {{"open", Left::kOld},
                    {"reserve", Left::kOld},
                    {"write", Left::kOld},
                    {"truncate", Left::kNew},
                    {"truncate\nfsync", Left::kNew}});
}

TEST(KilledSave, InPlaceLeavesTheNewStateFirstWhenTheNewIsShorter) {
    KillAtEachStep({"in place, shorter", true, FirstRunState() + "old|", kWrittenInPlace},
                   {{"write", Left::kOld},
                    {"truncate", Left::kNewThenTheOldTail},
                    {"truncate\nfsync", Left::kNew}});
}

// Where the file system cannot keep room past the end of a file, the save
// in place takes none: making the file longer before the write would leave
// a kill there with the old state followed by zeros.
TEST(KilledSave, InPlaceWithoutRoomKeptAsideLeavesTheOldStateUntilTheWrite) {
    const std::string whole = FirstRunState();
    KillAtEachStep({"in place, no room kept aside", true, whole.substr(0, whole.size() / 2), kWrittenInPlace,
                    {"SLOW_SAVE_NO_KEEP_SIZE=1"}},
                   {{"reserve", Left::kOld}, {"write", Left::kOld}, {"truncate", Left::kNew}});
}

// Saves killed under other pids leave scratch files that the next save
// clears, also where a lock needs a descriptor open for writing, as on
// NFSv4 (the slow_save library refuses the others as it does).
TEST(KilledSave, ScratchFilesOfOtherPidsAreClearedByTheNextSave) {
    TempFolder folder, logs;
    folder.Write(".briskostate", FirstRunState() + "old|");
    for (const char* name : {".briskostate.17.new", ".briskostate.4194304.new"}) folder.Write(name, "half a state");
    StartedProgram program({.folder = folder.path,
                            .output = logs.File("output.txt"),
                            .environment = SlowSaves(logs.File("steps.log"), 0)});
    WaitUntilStarted(program);
    const auto onlyTheState = [&] { return std::distance(std::filesystem::directory_iterator(folder.path), {}) == 1; };
    EXPECT_TRUE(LeaveUntil(10, [&] { return Noted(logs, "renamed") && onlyTheState(); })) << logs.Read("steps.log");
    EXPECT_EQ(folder.Read(".briskostate"), FirstRunState());
}

bool PidNamespacesAllowed() {
    pid_t child = fork();
    if (child == 0) _exit(unshare(CLONE_NEWPID) == 0 ? 0 : 1);
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// In a sandbox every start has the same pid, so the scratch file a killed
// save left has the name the next start's save makes: it is taken over,
// the save lands through it and no scratch file is left.
TEST(KilledSave, InAPidNamespaceLeavesAScratchFileTheNextStartTakesOver) {
    if (!PidNamespacesAllowed()) GTEST_SKIP() << "no PID namespace may be made here";
    TempFolder folder, logs;
    const std::string oldState = FirstRunState() + "old|";
    folder.Write(".briskostate", oldState);
    {
        StartedProgram program({.folder = folder.path,
                                .output = logs.File("output.txt"),
                                .environment = SlowSaves(logs.File("steps.log"), kStepMilliseconds),
                                .ownPidNamespace = true});
        WaitUntilStarted(program);
        e2e::OtherWindow other;
        ASSERT_TRUE(e2e::WaitFor(10, [&] { return Noted(logs, "write"); })) << logs.Read("steps.log");
        program.Kill();
    }
    const std::string scratch = folder.File(".briskostate.1.new");
    ASSERT_TRUE(std::filesystem::exists(scratch)) << "the killed save's scratch file, named by pid 1";
    EXPECT_EQ(folder.Read(".briskostate"), oldState);
    NextRunSaves(folder, kRenamed, true);
    EXPECT_FALSE(std::filesystem::exists(scratch));
}

// A scratch file with the same name that a live save in another sandbox
// holds (this test stands in for it) is left as it is; the save is written
// in place instead.
TEST(LiveScratchFile, OfAnotherSandboxIsLeftAlone) {
    if (!PidNamespacesAllowed()) GTEST_SKIP() << "no PID namespace may be made here";
    TempFolder folder;
    folder.Write(".briskostate", FirstRunState() + "old|");
    const std::string scratch = folder.Write(".briskostate.1.new", "a live save's state");
    int held = open(scratch.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    NextRunSaves(folder, kWrittenInPlace, true);
    EXPECT_EQ(folder.Read(".briskostate.1.new"), "a live save's state");
    close(held);
}

}  // namespace
}  // namespace reliability
