#include <sys/stat.h>

#include <filesystem>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

struct FolderFault {
    const char* name;
    bool readOnly;  // mode 0555 from the start, else removed once the title shows
    Ending ending;
    const char* steps;  // the save's noted steps
};

// A working folder the state cannot be written to: the game plays on, the
// save on leaving the window fails where it opens the file (a read-only
// folder tries the scratch file, then the file in place), says so, and the
// game ends normally.
TEST(WorkingFolder, ThatCannotBeWrittenLetsTheGameRunAndEndNormally) {
    const FolderFault faults[] = {
        {"read-only", true, Ending::kF4, "open failed\nopen failed\n"},
        {"removed", false, Ending::kCloseButton, "open failed\n"},
    };
    for (const FolderFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        TempFolder folder, logs;
        if (fault.readOnly) {
            ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
        }
        Launch launch{.folder = folder.path,
                      .output = logs.File("output.txt"),
                      .environment = SlowSaves(logs.File("steps.log"), 0),
                      .withoutRootsWritePower = fault.readOnly};
        StartedProgram program(launch);
        std::string name = std::string("folder-") + fault.name;
        ASSERT_TRUE(e2e::NewUser::IsTitle(ShotWhen(name, 15, e2e::NewUser::IsTitle)));
        if (!fault.readOnly) std::filesystem::remove_all(folder.path);

        EXPECT_TRUE(LeaveUntil(5, [&] { return !logs.Read("steps.log").empty(); })) << "leaving saves";
        EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen(name + "-after-save", 5, e2e::NewUser::IsTitle)));
        EXPECT_EQ(End(program, fault.ending), 0);
        EXPECT_EQ(logs.Read("steps.log"), fault.steps);
        EXPECT_EQ(program.Output(), "opening openal device\nHighscores Loaded\n");
        if (fault.readOnly) {
            EXPECT_TRUE(std::filesystem::is_empty(folder.path)) << "no state and no scratch file";
        }
    }
}

}  // namespace
}  // namespace reliability
