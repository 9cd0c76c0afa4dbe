#include <sstream>
#include <vector>

#include "tests/e2e/new_user.h"
#include "tests/host/temp_folder.h"

namespace {

std::vector<int> StateFields(const std::string& state) {
    std::vector<int> fields;
    std::stringstream in(state);
    std::string field;
    while (std::getline(in, field, '|')) fields.push_back(std::atoi(field.c_str()));
    return fields;
}

// The title once its logo, wheel and panel have come to rest and no
// game-over overlay is left on it.
bool IsRestingTitle(const e2e::Frame& frame) {
    return e2e::NewUser::IsTitle(frame) && frame.Share({128, 128, 20}, {}, 16) < 0.001;
}

// The options box takes keys once it has slid down to the top edge.
bool IsOptionsBox(const e2e::Frame& frame) { return frame.Share({130, 76, 24}, {440, 0, 50, 8}) > 0.9; }

// Takes pictures until one shows the screen, for half a minute at most.
bool Shows(const std::string& name, bool (*screen)(const e2e::Frame&)) {
    return screen(e2e::NewUser::ShotWhen(name, 30, screen));
}

// A first evening with the game: pick a speed, play, pause and quit, turn
// the music down in the options, leave, and come back to find it all kept.
TEST(NewPlayer, SettingsAndScoresSurviveARestart) {
    TempFolder folder;
    {
        RealProgram program(folder.path);
        ASSERT_TRUE(Shows("new-player-first-title", IsRestingTitle));
        RealProgram::Hold("Up");  // Normal to Slow on the wheel
        RealProgram::Wait(300);
        RealProgram::Hold("space");  // start
        ASSERT_TRUE(Shows("new-player-start", e2e::NewUser::IsPlay));
        for (int jump = 0; jump < 3; ++jump) {  // up onto the full platform row
            RealProgram::Hold("space", 300);
            RealProgram::Wait(700);
        }
        RealProgram::Shot("new-player-play.png");
        RealProgram::Hold("Escape");  // pause
        RealProgram::Wait(800);
        RealProgram::Shot("new-player-pause.png");
        RealProgram::Hold("Up");  // to "quit game"
        RealProgram::Wait(200);
        RealProgram::Hold("space");
        ASSERT_TRUE(Shows("new-player-title", IsRestingTitle));  // after the game-over sequence

        RealProgram::Hold("Left");  // focus the options dial
        RealProgram::Wait(200);
        RealProgram::Hold("space");
        ASSERT_TRUE(Shows("new-player-options-open", IsOptionsBox));
        RealProgram::Hold("Down");
        RealProgram::Wait(200);
        RealProgram::Hold("Down");  // the Music row
        RealProgram::Wait(200);
        RealProgram::Hold("space");  // Loud to Normal
        RealProgram::Wait(200);
        RealProgram::Shot("new-player-options.png");
        RealProgram::Hold("Escape");  // close, which saves
        ASSERT_TRUE(e2e::WaitFor(30, [&] {
            std::vector<int> saved = StateFields(folder.Read(".briskostate"));
            return saved.size() > 7 && saved[7] == 1;
        }));
        ASSERT_EQ(RealProgram::Send("key F4"), 0);
        EXPECT_EQ(program.ExitStatus(), 0);
    }

    std::vector<int> fields = StateFields(folder.Read(".briskostate"));
    ASSERT_EQ(fields.size(), 203u) << folder.Read(".briskostate");
    EXPECT_EQ(fields[7], 1) << "the music step";
    EXPECT_GT(fields[35 + 1], 0) << "the Slow speed's Last table holds the game's score";

    {
        RealProgram program(folder.path);
        ASSERT_TRUE(Shows("new-player-again", IsRestingTitle));
        ASSERT_EQ(RealProgram::Send("key F4"), 0);
        EXPECT_EQ(program.ExitStatus(), 0);
    }
    EXPECT_EQ(folder.Read("output.txt"),
              "opening openal device\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(StateFields(folder.Read(".briskostate")), fields) << "ending with F4 saves nothing";
}

}  // namespace
