#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

struct StateFault {
    std::string name;
    std::string bytes;  // the state file's, or none for a folder in its place
    bool folder = false;
    const char* loaded;  // what the game prints on reading it
};

std::string RandomBytes(std::size_t count) {
    std::mt19937 random(7);
    std::string bytes(count, 0);
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

std::vector<StateFault> Faults() {
    std::string whole = FirstRunState();
    return {
        {"huge-garbage", RandomBytes(8 << 20), false, "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n"},
        {"huge-tail", whole + Repeated("12|", 16 << 20), false,
         "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"},
        {"truncated", whole.substr(0, whole.size() / 2), false, "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"},
        {"folder", "", true, "Highscores Loaded\n"},
    };
}

// A state file of tens of megabytes, garbage, cut off, or a folder where
// the file should be: the game starts into the title and leaves the file as
// it is until it saves. Its save replaces a file with a complete state and
// fails on a folder, without harm either way.
TEST(StateFile, DamagedOrHugeIsKeptUntilTheGameSavesAndNeverStopsIt) {
    for (const StateFault& fault : Faults()) {
        SCOPED_TRACE(fault.name);
        TempFolder folder, logs;
        std::string state = folder.File(".briskostate");
        if (fault.folder) {
            ASSERT_EQ(mkdir(state.c_str(), 0755), 0);
        } else {
            folder.Write(".briskostate", fault.bytes);
        }
        StartedProgram program(
            {.folder = folder.path, .output = logs.File("output.txt"), .environment = SlowSaves(logs.File("steps.log"), 0)});
        ASSERT_TRUE(e2e::NewUser::IsTitle(ShotWhen("state-" + fault.name, 20, e2e::NewUser::IsTitle)));
        EXPECT_EQ(program.Output(), std::string("opening openal device\n") + fault.loaded);
        if (!fault.folder) {
            EXPECT_TRUE(folder.Read(".briskostate") == fault.bytes) << "unchanged by the start";
        }

        std::string saved = fault.folder ? "open\ntruncate\nwrite\nfsync\nrename\nrename failed\n"
                                         : "open\ntruncate\nwrite\nfsync\nrename\nrenamed\nfsync folder\n";
        EXPECT_TRUE(LeaveUntil(5, [&] { return logs.Read("steps.log") == saved; })) << logs.Read("steps.log");
        EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("state-" + fault.name + "-saved", 5, e2e::NewUser::IsTitle)));
        EXPECT_EQ(End(program, Ending::kF4), 0);
        EXPECT_EQ(program.Output(), std::string("opening openal device\n") + fault.loaded);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1) << "no scratch file is left";
        if (fault.folder) {
            EXPECT_TRUE(std::filesystem::is_directory(state));
        } else {
            EXPECT_EQ(folder.Read(".briskostate"), FirstRunState());
        }
    }
}

// A file system that takes none of the bytes of a write and names no error
// fails the save as a full disk does, through the scratch file and in place
// alike: the old state stays whole, no scratch file is left, and the player
// is told why.
TEST(StateFile, WriteThatTakesNoBytesIsToldAsNoRoom) {
    for (bool hardLinked : {false, true}) {
        SCOPED_TRACE(hardLinked ? "in place" : "scratch file");
        TempFolder folder, logs;
        const std::string oldState = FirstRunState() + "old|";
        const std::string state = folder.Write(".briskostate", oldState);
        if (hardLinked) {
            ASSERT_EQ(link(state.c_str(), folder.File("backup").c_str()), 0);
        }
        std::vector<std::string> environment = SlowSaves(logs.File("steps.log"), 0);
        environment.push_back("SLOW_SAVE_WRITES_NOTHING=1");
        testing::internal::CaptureStderr();
        {
            StartedProgram program(
                {.folder = folder.path, .output = logs.File("output.txt"), .environment = environment});
            EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("state-takes-no-bytes", 20, e2e::NewUser::IsTitle)));
            EXPECT_TRUE(LeaveUntil(5, [&] { return logs.Read("steps.log").find("write\n") != std::string::npos; }));
            EXPECT_EQ(End(program, Ending::kF4), 0);
        }
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find("Vantaroo: cannot save " + state + ": No space left on device\n"), std::string::npos)
            << told;
        EXPECT_EQ(folder.Read(".briskostate"), oldState);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), hardLinked ? 2 : 1)
            << "no scratch file is left";
    }
}

// A state file that is no regular file, a FIFO nobody writes into or a link
// to a device that never ends, holds no state: the game starts into its
// title as on a first run and leaves it what it is.
TEST(StateFile, NoRegularFileStartsAsAFirstRun) {
    for (bool fifo : {true, false}) {
        const std::string name = fifo ? "fifo" : "dev-zero";
        SCOPED_TRACE(name);
        TempFolder folder, logs;
        const std::string state = folder.File(".briskostate");
        ASSERT_EQ(fifo ? mkfifo(state.c_str(), 0644) : symlink("/dev/zero", state.c_str()), 0);
        StartedProgram program({.folder = folder.path, .output = logs.File("output.txt")});
        EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("state-" + name, 20, e2e::NewUser::IsTitle)));
        EXPECT_EQ(program.Output(), "opening openal device\nHighscores Loaded\n");
        EXPECT_EQ(End(program, Ending::kF4), 0);
        EXPECT_TRUE(fifo ? std::filesystem::is_fifo(state) : std::filesystem::is_symlink(state)) << "unchanged";
    }
}

// A FIFO's reader that goes away while the game saves into it fails that
// save, told like any other, and the game goes on. A full pipe holds the
// save in its write until the reader has gone.
TEST(StateFile, FifoWhoseReaderLeavesDuringASaveFailsOnlyThatSave) {
    TempFolder folder, logs;
    const std::string state = folder.File(".briskostate");
    ASSERT_EQ(mkfifo(state.c_str(), 0644), 0);
    const int reader = open(state.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int filler = open(state.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ASSERT_GE(filler, 0);
    const std::string page(4096, 'f');
    while (write(filler, page.data(), page.size()) > 0) {
    }
    bool left = false;
    testing::internal::CaptureStderr();
    {
        StartedProgram program({.folder = folder.path, .output = logs.File("output.txt")});
        EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("fifo-reader-leaves", 20, e2e::NewUser::IsTitle)));
        left = LeaveUntil(5, [&] { return program.WritesInto(state) && close(reader) == 0; });
        EXPECT_TRUE(left) << "the game saves into the FIFO";
        EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("fifo-reader-left", 5, e2e::NewUser::IsTitle)));
        EXPECT_EQ(End(program, Ending::kF4), 0);
    }
    if (!left) close(reader);
    close(filler);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("Vantaroo: cannot save " + state + ": Broken pipe\n"), std::string::npos) << told;
}

}  // namespace
}  // namespace reliability
