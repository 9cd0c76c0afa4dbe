#include <filesystem>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

namespace fs = std::filesystem;

struct DataFault {
    const char* name;
    std::vector<std::string> removed;  // paths in data/; "" is the folder itself
    std::vector<std::string> cutOff;   // files cut to half their size
};

// The program copied into a folder of its own, beside a data folder with
// the fault: it finds its data beside itself.
std::string CopyWithData(const TempFolder& folder, const DataFault& fault) {
    std::string program = folder.File("vantaroo");
    fs::copy_file(PROGRAM, program);
    std::string data = folder.File("data");
    fs::copy(DATA_FOLDER, data, fs::copy_options::recursive);
    for (const std::string& path : fault.removed) fs::remove_all(data + "/" + path);
    for (const std::string& path : fault.cutOff) fs::resize_file(data + "/" + path, fs::file_size(data + "/" + path) / 2);
    return program;
}

bool ShowsPlay(const e2e::Frame& frame) { return frame.Share(e2e::kNight) > 0.5; }

// Without its data folder, its fonts and sounds, or with images and sounds
// cut off in the middle, the game still reaches the title and a game with
// what it could load, plays silently where sounds are missing, and ends
// normally. The 640 x 480 window takes the "-hd" images.
TEST(DataFolder, MissingOrCutOffAssetsLeaveEmptySlotsAndTheGameRuns) {
    const DataFault faults[] = {
        {"no-data-folder", {""}, {}},
        {"no-fonts-or-sounds", {"fonts", "qira_font.png", "sfx"}, {}},
        {"cut-off-files",
         {},
         {"gfx-hd.png", "common/icons-hd.png", "fonts/shadow_editundo-hd.png", "sfx/006.wav", "sfx/096.wav",
          "sfx/Agile.ogg"}},
    };
    for (const DataFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        TempFolder folder;
        StartedProgram program(
            {.program = CopyWithData(folder, fault), .folder = folder.path, .output = folder.File("output.txt")});
        std::string name = std::string("data-") + fault.name;
        ASSERT_TRUE(e2e::NewUser::IsTitle(ShotWhen(name, 15, e2e::NewUser::IsTitle)));
        RealProgram::Hold("Return");
        ASSERT_TRUE(ShowsPlay(ShotWhen(name + "-play", 10, ShowsPlay)));
        RealProgram::Hold("space");
        RealProgram::Hold("Right", 500);
        EXPECT_TRUE(ShowsPlay(Shot(name + "-jumped")));
        EXPECT_EQ(End(program, Ending::kF4), 0);
        EXPECT_EQ(program.Output(), "opening openal device\nHighscores Loaded\n");
    }
}

// A player may keep the game in a folder with accents, spaces or any other
// letters in its name, or in one whose name is not even UTF-8: the game
// still finds its pictures and sounds beside itself.
TEST(DataFolder, ProgramInAFolderOfAnyNameFindsItsData) {
    const char* names[] = {"zo\xC3\xAB's Spiele \xF0\x9F\x8E\xAE", "caf\xE9 games"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        TempFolder root;
        const std::string folder = root.File(name);
        fs::create_directory(folder);
        fs::copy_file(PROGRAM, folder + "/vantaroo");
        fs::create_directory_symlink(DATA_FOLDER, folder + "/data");
        root.Write("alsoft.conf", "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                                  "frequency = 44100\n[wave]\nfile = " + root.File("sound.wav") + "\n");
        StartedProgram program({.program = folder + "/vantaroo",
                                .folder = root.path,
                                .output = root.File("output.txt"),
                                .environment = {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + root.File("alsoft.conf")}});
        e2e::Frame title = ShotWhen("any-folder-name", 15, e2e::NewUser::IsTitle);
        ASSERT_TRUE(e2e::NewUser::IsTitle(title));
        EXPECT_GT(title.Bright({60, 20, 380, 150}), 0.1) << "the logo";
        RealProgram::Hold("Left");
        RealProgram::Wait(300);
        EXPECT_EQ(End(program, Ending::kF4), 0);
        e2e::Recording sound(root.Read("sound.wav"));
        EXPECT_GT(sound.Loudest(0, sound.Seconds()), 1000) << "the menu's click";
    }
}

}  // namespace
}  // namespace reliability
