#include <sstream>
#include <vector>

#include "tests/game/real_program.h"
#include "tests/host/temp_folder.h"

namespace {

std::vector<int> StateFields(const std::string& state) {
    std::vector<int> fields;
    std::stringstream in(state);
    std::string field;
    while (std::getline(in, field, '|')) fields.push_back(std::atoi(field.c_str()));
    return fields;
}

// A first evening with the game: pick a speed, play, pause and quit, turn
// the music down in the options, leave, and come back to find it all kept.
TEST(NewPlayer, SettingsAndScoresSurviveARestart) {
    TempFolder folder;
    {
        RealProgram program(folder.path);
        RealProgram::Wait(4000);
        RealProgram::Hold("Up");  // Normal to Slow on the wheel
        RealProgram::Wait(300);
        RealProgram::Hold("space");  // start
        RealProgram::Wait(2000);
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
        RealProgram::Wait(3500);  // the game-over sequence and back to the title
        RealProgram::Shot("new-player-title.png");

        RealProgram::Hold("Left");  // focus the options dial
        RealProgram::Wait(200);
        RealProgram::Hold("space");
        RealProgram::Wait(1000);  // the box slides in
        RealProgram::Hold("Down");
        RealProgram::Wait(200);
        RealProgram::Hold("Down");  // the Music row
        RealProgram::Wait(200);
        RealProgram::Hold("space");  // Loud to Normal
        RealProgram::Wait(200);
        RealProgram::Shot("new-player-options.png");
        RealProgram::Hold("Escape");  // close, which saves
        RealProgram::Wait(800);
        ASSERT_EQ(RealProgram::Send("key F4"), 0);
        EXPECT_EQ(program.ExitStatus(), 0);
    }

    std::vector<int> fields = StateFields(folder.Read(".briskostate"));
    ASSERT_EQ(fields.size(), 203u) << folder.Read(".briskostate");
    EXPECT_EQ(fields[7], 1) << "the music step";
    EXPECT_GT(fields[35 + 1], 0) << "the Slow speed's Last table holds the game's score";

    {
        RealProgram program(folder.path);
        RealProgram::Wait(4000);
        RealProgram::Shot("new-player-again.png");
        ASSERT_EQ(RealProgram::Send("key F4"), 0);
        EXPECT_EQ(program.ExitStatus(), 0);
    }
    EXPECT_EQ(folder.Read("output.txt"),
              "opening openal device\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_EQ(StateFields(folder.Read(".briskostate")), fields) << "ending with F4 saves nothing";
}

}  // namespace
