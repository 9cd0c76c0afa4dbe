#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "tests/install/installed_game.h"

namespace install {
namespace {

namespace fs = std::filesystem;

// Prefixes with a space and a letter beyond ASCII, where players put them.
constexpr const char* kTree = "tree é x";
constexpr const char* kPrefix = "tree é x/usr";

// Every file a menu, a software centre and a manual reader look for, and the
// stripped program with its data beside it; the desktop entry, the AppStream
// metadata and the tree they form together pass their validators.
TEST(Install, PlacesTheGameAndItsMenuEntryWhereTheDesktopLooks) {
    TempFolder folder;
    std::string prefix = folder.File(kPrefix);
    Ran install = InstallInto(prefix);
    ASSERT_EQ(install.status, 0) << install.output;

    const char* files[] = {"bin/vantaroo",
                           "libexec/vantaroo/vantaroo",
                           "libexec/vantaroo/data/gfx.png",
                           "libexec/vantaroo/data/sfx/Agile.ogg",
                           "share/applications/vantaroo.desktop",
                           "share/metainfo/io.github.pelk.vantaroo.metainfo.xml",
                           "share/icons/hicolor/scalable/apps/vantaroo.svg",
                           "share/man/man6/vantaroo.6.gz",
                           "share/doc/vantaroo/copyright",
                           "share/doc/vantaroo/changelog.gz"};
    for (const char* file : files) EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    EXPECT_TRUE(fs::status(prefix + "/bin/vantaroo").permissions() == fs::perms(0755));
    ExpectStrippedAndHardened(prefix + "/libexec/vantaroo/vantaroo");
    EXPECT_FALSE(fs::exists(prefix + "/libexec/vantaroo/data/.images.stamp")) << "build stamps stay in the build";

    for (int size : {48, 64, 128, 256}) {
        std::string icon = prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                           "/apps/vantaroo.png";
        int width = 0, height = 0, channels = 0;
        ASSERT_TRUE(stbi_info(icon.c_str(), &width, &height, &channels)) << icon;
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
    }

    Ran desktop = Shell("desktop-file-validate " + Quoted(prefix + "/share/applications/vantaroo.desktop"));
    EXPECT_EQ(desktop.status, 0);
    EXPECT_EQ(desktop.output, "");
    Ran metainfo =
        Shell("appstreamcli validate --no-net " + Quoted(prefix + "/share/metainfo/io.github.pelk.vantaroo.metainfo.xml"));
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;
    Ran tree = Shell("appstreamcli validate-tree --no-net " + Quoted(folder.File(kTree)));
    EXPECT_EQ(tree.status, 0) << tree.output;

    // The installed command answers as a Linux program does, without a window.
    Ran version = Shell("env -u DISPLAY HOME=" + Quoted(folder.path) + " " + Quoted(prefix + "/bin/vantaroo") +
                        " --version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output, "vantaroo 1.0.0\n");
}

// Puts a script that runs `command` in place of the installed game, so the
// launcher can be watched without a display.
void PutStandIn(TempFolder& folder, const std::string& command) {
    std::string program = std::string(kPrefix) + "/libexec/vantaroo/vantaroo";
    fs::remove(folder.File(program));
    folder.Write(program, "#!/bin/sh\n" + command + "\n");
    fs::permissions(folder.File(program), fs::perms(0755));
}

struct Place {
    const char* name;
    std::optional<std::string> dataHome;  // XDG_DATA_HOME; unset without a value
    std::string stateFolder;              // below the test's folder
};

// The launcher starts the game in the XDG data folder for it, made private
// when it is new, from wherever it is called, also through a link; the game
// here is a stand-in that notes where it was started.
TEST(Install, LauncherStartsTheGameInTheDataFolder) {
    TempFolder folder;
    std::string prefix = folder.File(kPrefix);
    ASSERT_EQ(InstallInto(prefix).status, 0);
    std::string noted = folder.File("started in");
    PutStandIn(folder, "pwd > " + Quoted(noted));
    fs::create_directory(folder.File("start"));
    fs::create_symlink(prefix + "/bin/vantaroo", folder.File("start/my game"));

    const Place places[] = {
        {"unset", std::nullopt, "home/.local/share/vantaroo"},
        {"empty", "", "home/.local/share/vantaroo"},
        {"relative, so invalid", "data é", "home/.local/share/vantaroo"},
        {"absolute", folder.File("data é"), "data é/vantaroo"},
    };
    for (const Place& place : places) {
        for (const char* launcher : {"../tree é x/usr/bin/vantaroo", "./my game"}) {
            SCOPED_TRACE(std::string(place.name) + " through " + launcher);
            fs::remove_all(folder.File("home"));
            fs::remove_all(folder.File("data é"));
            fs::remove(noted);
            std::string environment = place.dataHome ? "XDG_DATA_HOME=" + Quoted(*place.dataHome) : "-u XDG_DATA_HOME";
            Ran ran = Shell("cd " + Quoted(folder.File("start")) + " && env " + environment + " HOME=" +
                          Quoted(folder.File("home")) + " " + Quoted(launcher));
            EXPECT_EQ(ran.status, 0) << ran.output;
            std::string expected = folder.File(place.stateFolder);
            EXPECT_EQ(folder.Read("started in"), expected + "\n");
            struct stat made {};
            ASSERT_EQ(stat(expected.c_str(), &made), 0);
            EXPECT_EQ(made.st_mode & 0777, 0700u);
        }
    }
}

struct Refusal {
    const char* name;
    std::string environment;  // for env(1)
    std::string says;
    // Root may write anywhere; this takes that power away, so folder modes
    // hold for the launcher as they do for anybody else.
    bool withoutRootsWritePower = false;
};

// Without a folder for its saves the launcher says why and does not start
// the game, which would play without saving.
TEST(Install, LauncherRefusesToPlayWithoutADataFolder) {
    TempFolder folder;
    std::string prefix = folder.File(kPrefix);
    ASSERT_EQ(InstallInto(prefix).status, 0);
    std::string noted = folder.File("started");
    PutStandIn(folder, "touch " + Quoted(noted));
    std::string file = folder.Write("a file", "");
    fs::create_directories(folder.File("read-only/vantaroo"));
    fs::permissions(folder.File("read-only/vantaroo"), fs::perms(0555));

    const Refusal refusals[] = {
        {"data home is a file", "XDG_DATA_HOME=" + Quoted(file) + " HOME=" + Quoted(folder.path),
         "vantaroo: cannot create or write the folder for saved games: " + file + "/vantaroo\n"},
        {"data folder is read-only", "XDG_DATA_HOME=" + Quoted(folder.File("read-only")),
         "vantaroo: cannot create or write the folder for saved games: " + folder.File("read-only/vantaroo") + "\n",
         true},
        {"no home", "-u XDG_DATA_HOME -u HOME",
         "vantaroo: neither XDG_DATA_HOME nor HOME is set, so there is no folder for saved games\n"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        fs::remove(noted);
        std::string asAnybody = refusal.withoutRootsWritePower && geteuid() == 0 ? "setpriv --bounding-set -dac_override " : "";
        Ran ran = Shell(asAnybody + "env " + refusal.environment + " " + Quoted(prefix + "/bin/vantaroo"));
        EXPECT_NE(ran.status, 0);
        EXPECT_TRUE(ran.output.ends_with(refusal.says)) << ran.output;
        EXPECT_FALSE(fs::exists(noted));
    }
}

// The installed game itself, started from another folder.
TEST(Install, InstalledGameShowsItsArtAndSavesInTheDataFolder) {
    TempFolder folder, home;
    std::string prefix = folder.File(kPrefix);
    ASSERT_EQ(InstallInto(prefix).status, 0);
    ExpectTitleAndStateInDataFolder("prefix", prefix + "/bin/vantaroo", home, {"XDG_DATA_HOME="},
                                    home.File(".local/share/vantaroo"));
}

}  // namespace
}  // namespace install
