#include <chrono>
#include <string>

#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

// Below the score line and the lives, whose heads share the kangaroo's fur.
constexpr Box kField{0, 48, 640, 432};
constexpr Box kBottomRow{0, 448, 640, 32};
// How near a wall the kangaroo turns, in pixels.
constexpr int kTurnBeforeWall = 96;

// The game-over overlay's yellow band, half see-through.
bool ShowsGameOver(const Frame& frame) { return frame.Share({128, 128, 20}, {}, 16) > 0.01; }

bool ShowsRunner(const Frame& frame) { return frame.Find(kRunnerBody, kField).count > 20; }

// Rows of the play field with platforms on them.
int PlatformRows(const Frame& frame) {
    int rows = 0;
    for (int y = 48; y < 448; y += 16) rows += frame.Share(kNight, {16, y, 608, 16}) < 0.8 ? 1 : 0;
    return rows;
}

// Waits until the last fifth of a second of the recording is quiet, so
// that the next sound heard is the next one played.
double QuietFrom(const NewUser& user) {
    double now = 0;
    WaitFor(5, [&] {
        Recording sound = user.Sound();
        now = sound.Seconds();
        return now > 0.2 && sound.Loudest(now - 0.2, now) < 200;
    });
    return now;
}

// A game at the speed the wheel shows: the grid, moving, jumping with its
// sound, a runner once a cell is scored; Escape pauses and continues,
// leaving the window pauses too, and quitting from the pause menu ends the
// game into the title, whose Last table then holds the score.
TEST(NewUser, PlaysAGameAtTheChosenSpeedAndQuitsItFromThePauseMenu) {
    NewUser user;
    user.Start();
    Frame title = NewUser::ShotWhen("play-title", 15, NewUser::IsTitle);
    ASSERT_TRUE(NewUser::IsTitle(title));
    RealProgram::Hold("Down");  // Normal to Fast
    RealProgram::Wait(300);
    RealProgram::Hold("Return");

    Frame play = NewUser::ShotWhen("play", 10, NewUser::IsPlay);
    ASSERT_TRUE(NewUser::IsPlay(play));
    EXPECT_LT(play.Share(kNight, {0, 0, 8, 480}), 0.1) << "the left wall";
    EXPECT_LT(play.Share(kNight, {632, 0, 8, 480}), 0.1) << "the right wall";
    EXPECT_GE(PlatformRows(play), 5);
    Spot start = play.Find(kFur, kBottomRow);
    ASSERT_GT(start.count, 20) << "the kangaroo on the bottom row";
    EXPECT_FALSE(ShowsRunner(play));

    auto x = [](const Frame& f) { return f.Find(kFur, kBottomRow).x; };
    RealProgram::Hold("Right", 300);
    Frame right = NewUser::ShotWhen("play-right", 10, [&](const Frame& f) { return x(f) > start.x + 16; });
    EXPECT_GT(x(right), start.x + 16) << "Right runs right";
    RealProgram::Hold("Left", 200);
    Frame left = NewUser::ShotWhen("play-left", 10, [&](const Frame& f) { return x(f) < x(right) - 16; });
    EXPECT_LT(x(left), x(right) - 16) << "Left runs left";

    double quiet = QuietFrom(user);
    RealProgram::Hold("space", 300);
    auto y = [](const Frame& f) { return f.Find(kFur, kField).y; };
    Frame jump = NewUser::ShotWhen("play-jump", 10, [&](const Frame& f) { return y(f) < start.y - 8; });
    double seen = user.Sound().Seconds();
    EXPECT_LT(y(jump), start.y - 8) << "Space jumps";
    // It runs on at once, before the cells it lands on can crumble.
    std::string key = "Right";
    ASSERT_EQ(RealProgram::Send("keydown " + key), 0);
    // The jump sound comes at once, so it is in the recording by the time
    // the kangaroo is seen in the air, whatever the delay before the game
    // took the key; the first scored cell's sound and the tune follow when
    // it lands.
    WaitFor(10, [&] { return user.Sound().Seconds() > seen + 0.1; });
    EXPECT_GT(user.Sound().Loudest(quiet, seen + 0.1), 2000) << "the jump sound";

    // A platform crumbles within about a second under a kangaroo standing on
    // it, so it runs to and fro along the full row, turning before it meets
    // a wall, until the first runner comes, about four seconds of play after
    // the first scored cell. The turns follow where the kangaroo is seen, so
    // a busy machine, where the game plays slower than the clock and keys
    // come late, does not run it into a wall; should the cells crumble under
    // it all the same, it jumps up again from the ground.
    bool runner = false;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
        Frame shot = NewUser::Shot("play-runner");
        runner = ShowsRunner(shot);
        if (runner) break;
        if (shot.Find(kFur, kBottomRow).count > 20) {
            RealProgram::Hold("space", 300);
            continue;
        }
        Spot at = shot.Find(kFur, kField);
        if (at.count > 0 && (key == "Right" ? at.x > 640 - kTurnBeforeWall : at.x < kTurnBeforeWall)) {
            std::string other = key == "Right" ? "Left" : "Right";
            ASSERT_EQ(RealProgram::Send("keyup " + key + " keydown " + other), 0);
            key = other;
        }
        RealProgram::Wait(50);
    }
    ASSERT_EQ(RealProgram::Send("keyup " + key), 0);
    EXPECT_TRUE(runner) << "a runner after the first scored cell";

    RealProgram::Hold("Escape");
    EXPECT_TRUE(NewUser::IsPaused(NewUser::ShotWhen("pause", 10, NewUser::IsPaused))) << "Escape pauses";
    RealProgram::Hold("Escape");
    EXPECT_TRUE(NewUser::IsPlay(NewUser::ShotWhen("play-continued", 10, NewUser::IsPlay))) << "Escape continues";

    {
        OtherWindow other;
        EXPECT_TRUE(WaitFor(10, [&] { return !user.State().empty(); })) << "leaving the window saves";
    }
    ASSERT_EQ(RealProgram::Send(""), 0);  // back to the game's window
    EXPECT_TRUE(NewUser::IsPaused(NewUser::ShotWhen("pause-after-leaving", 10, NewUser::IsPaused))) << "the game comes back paused";
    // The pause menu's Continue button, by mouse.
    ASSERT_EQ(RealProgram::Send("mousemove --window %1 64 196 mousedown 1"), 0);
    RealProgram::Wait(200);
    ASSERT_EQ(RealProgram::Send("mouseup 1"), 0);
    EXPECT_TRUE(NewUser::IsPlay(NewUser::ShotWhen("play-clicked-on", 10, NewUser::IsPlay))) << "Continue";

    RealProgram::Hold("Escape");
    EXPECT_TRUE(NewUser::IsPaused(NewUser::ShotWhen("pause-to-quit", 10, NewUser::IsPaused)));
    RealProgram::Hold("Up");  // to "quit game"
    RealProgram::Wait(200);
    RealProgram::Hold("space");
    EXPECT_TRUE(ShowsGameOver(NewUser::ShotWhen("game-over", 10, ShowsGameOver))) << "the game-over overlay";
    Frame after = NewUser::ShotWhen("title-after-game", 10, [](const Frame& f) {
        return NewUser::IsTitle(f) && f.Share({128, 128, 20}, {}, 16) < 0.001;
    });
    ASSERT_TRUE(NewUser::IsTitle(after));
    EXPECT_GT(after.Difference(title, {624, 274, 16, 16}), 4) << "the score in the Last table's first row";

    std::vector<std::string> fields = StateFields(user.State());
    ASSERT_EQ(fields.size(), 203u) << user.State();
    EXPECT_GT(std::atoi(fields[35 + 42 + 1].c_str()), 0) << "Fast's Last table holds the score";
    EXPECT_EQ(fields[35 + 42], fields[35 + 42 + 1]) << "and so does its Top table";
    EXPECT_EQ(fields[35 + 1], "0") << "nothing for Slow";
    EXPECT_EQ(fields[35 + 21 + 1], "0") << "nothing for Normal";

    ASSERT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0);
    EXPECT_EQ(user.ExitStatus(), 0) << "the window's close button ends the program";
}

}  // namespace
}  // namespace e2e
