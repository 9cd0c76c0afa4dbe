#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/data_path.h"
#include "host/file_paths.h"
#include "host/kp_glfw_game.h"
#include "host/program_folder.h"
#include "runtime/system_text.h"
#include "tests/host/temp_folder.h"

namespace {

std::string Utf8(const String& text) { return text.ToUtf8(); }

TEST(DataPath, BareNamesGoToTheDataFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"font.png", "brisko://data/font.png"},
        {"gfx/a.png", "brisko://data/gfx/a.png"},
        {"brisko://data/x", "brisko://data/x"},
        {"http://example.org/a", "http://example.org/a"},
        {"./x", "./x"},
        {"/abs/x", "/abs/x"},
        {"c:x/y", "brisko://data/c:x/y"},
        {"a/b:/c", "brisko://data/a/b:/c"},
    };
    for (auto [path, expected] : cases) EXPECT_EQ(Utf8(kp_data_FixDataPath(String(path))), expected) << path;
}

TEST(HostPaths, SchemeFoldersMapBesideTheProgram) {
    KpGlfwGame host;
    const std::string folder = PROGRAM_FOLDER;
    const std::pair<const char*, std::string> cases[] = {
        {"brisko://data/gfx/a.png", folder + "/data/gfx/a.png"},
        {"brisko://internal/saves/x", folder + "/internal/saves/x"},
        {"brisko://external/y", folder + "/external/y"},
        {"brisko://elsewhere/z", ""},
        {"brisko://DATA/a", ""},
        {"brisko:data/a", ""},
        {"./.briskostate", "./.briskostate"},
        {"/tmp/file", "/tmp/file"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(Utf8(host.PathToFilePath(String(path))), expected) << path;
}

TEST(HostPaths, UnknownFolderFailsToOpen) {
    KpGlfwGame host;
    EXPECT_EQ(host.OpenFile(String("brisko://nowhere/file"), String("rb")), nullptr);
    EXPECT_EQ(host.LoadString(String("brisko://data/missing.txt")).Length(), 0);
    int length = 77;
    EXPECT_EQ(host.LoadData(String("brisko://data/missing.bin"), &length), nullptr);
    EXPECT_EQ(length, 77);
}

// A player may keep the game in a folder with any letters in its name; the
// folder comes back whole, and files in it open.
TEST(ProgramFolder, FollowsTheProgramsLinkWhateverTheFolderIsCalled) {
    TempFolder root;
    const std::string folder = root.File("zo\xC3\xAB's games \xF0\x9F\x8E\xAE");
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/asset.txt") << "found";
    std::filesystem::create_symlink(folder + "/vantaroo", root.File("exe"));

    String found = ProgramFolder(root.File("exe").c_str(), nullptr);
    const Char letters[] = {u'z', u'o', 0xEB};
    EXPECT_TRUE(found.Contains(String(letters, 3)));
    EXPECT_EQ(SystemBytes(found), folder);

    KpGlfwGame host;
    EXPECT_EQ(host.LoadString(found + String("/asset.txt")).ToUtf8(), "found");
}

// Without the kernel's link to the program the command's own path is the
// next best guide, and the current folder the last.
TEST(ProgramFolder, FallsBackToTheCommandThenTheCurrentFolder) {
    const std::string missing = "/nonexistent/exe";
    const std::string here = CurrentFolder();
    const struct {
        const char* command;
        std::string folder;
    } cases[] = {
        {"/opt/vantaroo/vantaroo", "/opt/vantaroo"},
        {"build/vantaroo", here + "/build"},
        {"./no-such-vantaroo", here + "/."},
        {nullptr, here},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SystemBytes(ProgramFolder(missing.c_str(), c.command)), c.folder) << (c.command ? c.command : "none");
    }
}

// The folder ProgramFolder gives for `command` without the kernel's link,
// with PATH set to `path`, or unset when it is null.
std::string FolderFoundAlong(const char* path, const std::string& command) {
    const char* saved = std::getenv("PATH");
    const std::string before = saved ? saved : "";
    if (path) {
        setenv("PATH", path, 1);
    } else {
        unsetenv("PATH");
    }
    std::string found = SystemBytes(ProgramFolder("/nonexistent/exe", command.c_str()));
    setenv("PATH", before.c_str(), 1);
    return found;
}

// A bare command name is where the shell found it: the first runnable file
// of that name along PATH, not a plain file or a folder of that name.
TEST(ProgramFolder, FindsABareCommandAlongThePath) {
    TempFolder root;
    for (const char* folder : {"empty", "plain", "folder", "runnable"}) {
        std::filesystem::create_directory(root.File(folder));
    }
    std::ofstream(root.File("plain/vantaroo")) << "not runnable";
    std::filesystem::create_directory(root.File("folder/vantaroo"));
    std::ofstream(root.File("runnable/vantaroo")) << "runnable";
    std::filesystem::permissions(root.File("runnable/vantaroo"), std::filesystem::perms::owner_all);
    const std::string path =
        root.File("empty") + ":" + root.File("plain") + ":" + root.File("folder") + ":" + root.File("runnable");
    EXPECT_EQ(FolderFoundAlong(path.c_str(), "vantaroo"), root.File("runnable"));
    EXPECT_EQ(FolderFoundAlong(path.c_str(), "not-there"), CurrentFolder());
}

// A command that is a link to the program gives the program's folder, where
// its files are; without PATH the search goes where a shell's goes.
TEST(ProgramFolder, FindsTheProgramItselfAsAShellWould) {
    TempFolder root;
    for (const char* folder : {"game", "bin"}) std::filesystem::create_directory(root.File(folder));
    std::ofstream(root.File("game/vantaroo")) << "runnable";
    std::filesystem::permissions(root.File("game/vantaroo"), std::filesystem::perms::owner_all);
    std::filesystem::create_symlink("../game/vantaroo", root.File("bin/vantaroo"));
    const std::string game = std::filesystem::canonical(root.File("game")).string();
    const std::string bin = root.File("bin");
    const struct {
        const char* path;
        std::string command;
        std::string folder;
    } cases[] = {
        {bin.c_str(), "vantaroo", game},
        {bin.c_str(), bin + "/vantaroo", game},
        {nullptr, "sh", std::filesystem::canonical("/bin/sh").parent_path().string()},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderFoundAlong(c.path, c.command), c.folder) << c.command;
}

}  // namespace
