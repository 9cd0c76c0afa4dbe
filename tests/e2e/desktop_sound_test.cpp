// The real program's sound on a desktop's sound server, PulseAudio and
// PipeWire each: it follows the output the player picks, comes with a
// server that starts late or again, never holds up the program's end, and
// says little while the server is away.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "tests/e2e/new_user.h"
#include "tests/e2e/sound_server.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;
using Kind = SoundServer::Kind;

// The jump sound is far louder than this; silence is 0.
constexpr int kHeard = 1000;

// The address sanitizer makes the program, and every check of the server it
// starts, several times slower; the times sound may take to come grow with it.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlower = 2;
#else
constexpr double kSlower = 1;
#endif

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class DesktopSound : public ::testing::TestWithParam<Kind> {
protected:
    DesktopSound() : server(GetParam()) { KeepDisplayOpen(); }

    void StartServer() {
        if (!server.Start()) GTEST_SKIP() << "no sound server could be started here";
    }

    // The program plays on the server, with no OpenAL configuration of the
    // machine's; `environment` adds to or overrides that.
    void Launch(const std::vector<std::string>& environment = {}, const std::string& copy = PROGRAM) {
        std::vector<std::string> settings{"ALSOFT_DRIVERS=pulse", "ALSOFT_CONF=/dev/null"};
        settings.insert(settings.end(), environment.begin(), environment.end());
        program = std::make_unique<RealProgram>(folder.path, settings, copy);
    }

    void StartProgram(const std::vector<std::string>& environment = {}, const std::string& copy = PROGRAM) {
        Launch(environment, copy);
        ASSERT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("sound-title", 15, NewUser::IsTitle)));
    }

    // A level, where the kangaroo jumps.
    void StartLevel() {
        ASSERT_EQ(Press("Return"), 0);
        ASSERT_TRUE(NewUser::IsPlay(NewUser::ShotWhen("sound-play", 10, NewUser::IsPlay)));
    }

    // The kangaroo jumps four times while `output` is recorded: its jump
    // sound is to be heard there. On a busy machine the recorder may connect
    // late and the program answer late; one jump in the recording is enough.
    void ExpectHeardOn(const std::string& output, const char* when) {
        EXPECT_TRUE(WaitFor(3, [&] { return server.StreamOutput() == output; }))
            << when << ": the stream plays on " << server.StreamOutput();
        std::thread jump([] {
            for (int jumps = 0; jumps < 4; ++jumps) {
                RealProgram::Wait(jumps == 0 ? 300 : 350);
                RealProgram::Hold("space", 150);
            }
        });
        std::vector<std::int16_t> heard = server.Record(output, 2.2);
        jump.join();
        EXPECT_GT(Loudest(heard), kHeard) << when << ": nothing heard on " << output << " in " << heard.size()
                                          << " samples";
    }

    // The player moves the stream to `output` in the sound settings. PipeWire
    // 0.3's pulse layer at times accepts a move and never carries it out,
    // and then drops every later move to the same output; a move to where
    // the stream plays unsticks it. The player then moves it again.
    bool MovedByHand(const std::string& output) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::string said;
            if (!server.MoveStream(server.StreamNumber(), output, &said)) {
                ADD_FAILURE() << "the move was refused: " << said;
                return false;
            }
            if (WaitFor(3, [&] { return server.StreamOutput() == output; })) return true;
            server.MoveStream(server.StreamNumber(), server.StreamOutput(), &said);
            RealProgram::Wait(500);
        }
        return false;
    }

    // Seconds from F4, as soon as the window is there, to the program's end.
    double SecondsToQuit() {
        EXPECT_TRUE(WaitFor(15, [] { return RealProgram::Send("") == 0; }));
        Clock::time_point pressed = Clock::now();
        EXPECT_EQ(std::system("xdotool keydown F4"), 0);
        int status = program->ExitStatus();
        double seconds = SecondsSince(pressed);
        EXPECT_EQ(std::system("xdotool keyup F4"), 0);
        EXPECT_EQ(status, 0);
        return seconds;
    }

    std::string Errors() const { return folder.Read("errors.txt"); }

    std::string Launcher(const std::string& script) const {
        std::string launcher = folder.Write("launcher", script);
        std::filesystem::permissions(launcher, std::filesystem::perms::owner_all);
        return launcher;
    }

    SoundServer server;
    TempFolder folder;
    std::unique_ptr<RealProgram> program;
};

TEST_P(DesktopSound, FollowsTheOutputThePlayerPicks) {
    StartServer();
    StartProgram();
    StartLevel();
    ExpectHeardOn("speakers", "at the start");

    ASSERT_EQ(server.Pactl("set-default-sink headphones"), 0);
    ExpectHeardOn("headphones", "after the default output changed");

    EXPECT_TRUE(MovedByHand("speakers"));
    ExpectHeardOn("speakers", "after a move by hand");

    ASSERT_EQ(server.Pactl("unload-module " + std::to_string(server.speakersModule)), 0);
    ExpectHeardOn("headphones", "after the output it played on was removed");
}

// A copy of the program in a folder whose name holds a colon and a space,
// with its data folder beside it; the player's own setting wins.
TEST_P(DesktopSound, ThePlayersSettingWinsAndAnyFolderWillDo) {
    StartServer();
    std::string oddFolder = folder.File("odd: folder");
    std::filesystem::create_directory(oddFolder);
    std::filesystem::copy_file(PROGRAM, oddFolder + "/vantaroo");
    std::filesystem::create_directory_symlink(std::filesystem::path(PROGRAM).parent_path() / "data", oddFolder + "/data");
    StartProgram({}, oddFolder + "/vantaroo");
    StartLevel();
    ASSERT_EQ(server.Pactl("set-default-sink headphones"), 0);
    ExpectHeardOn("headphones", "from a folder with a colon");
    EXPECT_EQ(SecondsToQuit() < 1, true);

    ASSERT_EQ(server.Pactl("set-default-sink speakers"), 0);
    StartProgram({"ALSOFT_CONF=" + folder.Write("alsoft.conf", "[pulse]\nallow-moves = false\n")});
    StartLevel();
    ASSERT_EQ(server.Pactl("set-default-sink headphones"), 0);
    RealProgram::Wait(1000);
    EXPECT_EQ(server.StreamOutput(), "speakers") << "the player's configuration keeps the stream where it is";
    std::string said;
    EXPECT_FALSE(server.MoveStream(server.StreamNumber(), "headphones", &said));
    EXPECT_EQ(said, "Invalid argument");
}

TEST_P(DesktopSound, ComesBackAfterTheServerRestartsAndSaysLittleMeanwhile) {
    StartServer();
    StartProgram();
    StartLevel();
    ExpectHeardOn("speakers", "before the server goes");

    server.Kill();
    RealProgram::Wait(20000);
    std::string said = Errors();
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 2) << said;

    ASSERT_TRUE(server.Start());
    Clock::time_point back = Clock::now();
    EXPECT_TRUE(WaitFor(5 * kSlower, [&] { return server.StreamNumber() >= 0; }))
        << "no stream after the server came back";
    EXPECT_LT(SecondsSince(back), 3 * kSlower);
    ExpectHeardOn("speakers", "after the server came back");
    EXPECT_NE(Errors().find("sound is back"), std::string::npos) << Errors();
}

TEST_P(DesktopSound, SoundComesWithAServerThatStartsLate) {
    StartProgram();
    StartLevel();
    RealProgram::Wait(2000);

    StartServer();
    Clock::time_point started = Clock::now();
    EXPECT_TRUE(WaitFor(5 * kSlower, [&] { return server.StreamNumber() >= 0; }))
        << "no stream after the server started";
    EXPECT_LT(SecondsSince(started), 2.5 * kSlower);
    ExpectHeardOn("speakers", "once the server is there");
}

TEST_P(DesktopSound, QuittingNeverWaitsForAStuckServer) {
    server.StartStuck();
    Launch();
    EXPECT_LT(SecondsToQuit(), 1) << "stuck from the start, quit as the window shows";

    StartServer();
    StartProgram();
    StartLevel();
    server.StartStuck();
    ASSERT_TRUE(WaitFor(5, [&] { return Errors().find("gone") != std::string::npos; })) << Errors();
    RealProgram::Wait(2000);
    EXPECT_LT(SecondsToQuit(), 1) << "stuck after it had been there";

    StartServer();
    StartProgram();
    StartLevel();
    server.Freeze();
    RealProgram::Wait(3000);
    EXPECT_LT(SecondsToQuit(), 1) << "frozen while the device is open";
}

// A launcher may leave the child signal ignored or start the program
// through the dynamic loader, and a check of the sound server may find no
// process to spare for a while: none of these keeps the sound away.
TEST_P(DesktopSound, SoundWhateverTheLauncherAndTheProcessLimit) {
    StartServer();
    StartProgram({}, Launcher("#!/usr/bin/perl\n$SIG{CHLD} = 'IGNORE';\nexec '" PROGRAM "';\n"));
    StartLevel();
    ExpectHeardOn("speakers", "started with the child signal ignored");
    EXPECT_LT(SecondsToQuit(), 1);

    // The program's own link then names the loader, and no check can be
    // made: the game's own library opens the device.
    StartProgram({}, Launcher("#!/bin/sh\nexec /lib64/ld-linux-x86-64.so.2 '" PROGRAM "'\n"));
    EXPECT_TRUE(WaitFor(3 * kSlower, [&] { return server.StreamNumber() >= 0; }))
        << "no stream when started through the dynamic loader";
    EXPECT_LT(SecondsToQuit(), 1);

    server.Kill();
    // The address sanitizer's runtime, in a sanitized build, lets the
    // preloaded library come before it.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string options = std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0";
    StartProgram({"LD_PRELOAD=" FAILING_SPAWN, "FAILING_SPAWNS=3", "ASAN_OPTIONS=" + options});
    StartLevel();
    RealProgram::Wait(1500);
    StartServer();
    EXPECT_TRUE(WaitFor(5 * kSlower, [&] { return server.StreamNumber() >= 0; })) << "no stream after failed checks";
    ExpectHeardOn("speakers", "after checks that found no process to spare");
}

INSTANTIATE_TEST_SUITE_P(Servers, DesktopSound, ::testing::Values(Kind::kPulseAudio, Kind::kPipeWire),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return info.param == Kind::kPulseAudio ? "PulseAudio" : "PipeWire";
                         });

}  // namespace
}  // namespace e2e
