#include <random>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

constexpr int kStepMilliseconds = 200;

// A step of the save, as the slow_save library notes it, and which state a
// kill during it must leave.
struct KillPoint {
    const char* step;
    bool newState;
};

bool Noted(const TempFolder& logs, const std::string& step) {
    return logs.Read("steps.log").find(step + "\n") != std::string::npos;
}

// The program is killed at a random moment inside each step of a save it
// makes on leaving the window, each step made slow enough to be hit. Until
// the new state has been renamed into place the old one is there whole,
// afterwards the new one; a scratch file left by a kill never stops the next
// start from reading the state, nor its save from working.
TEST(KilledSave, LeavesTheOldOrTheNewStateWholeWhereverItHits) {
    const KillPoint points[] = {{"open", false},   {"open", false},   {"fsync", false},   {"fsync", false},
                                {"rename", false}, {"rename", false}, {"renamed", true}, {"renamed", true},
                                {"fsync folder", true}};
    const std::string oldState = FirstRunState() + "old|";  // a field the game does not write
    const std::string newState = FirstRunState();
    unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    TempFolder folder, logs;
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.step);
        folder.Write(".briskostate", oldState);
        std::remove(logs.File("steps.log").c_str());
        StartedProgram program({.folder = folder.path,
                                .output = logs.File("output.txt"),
                                .environment = SlowSaves(logs.File("steps.log"), kStepMilliseconds)});
        ASSERT_TRUE(e2e::WaitFor(15, [&] {
            return program.Output().find("Highscores Loaded") != std::string::npos && RealProgram::Send("") == 0;
        })) << "the state read and the window with the focus";
        EXPECT_EQ(program.Output(), "opening openal device\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n");
        {
            e2e::OtherWindow other;
            ASSERT_TRUE(e2e::WaitFor(10, [&] { return Noted(logs, point.step); })) << logs.Read("steps.log");
            RealProgram::Wait(std::uniform_int_distribution<int>(0, kStepMilliseconds / 2)(random));
            program.Kill();
        }
        EXPECT_EQ(folder.Read(".briskostate"), point.newState ? newState : oldState) << logs.Read("steps.log");
    }
}

}  // namespace
}  // namespace reliability
