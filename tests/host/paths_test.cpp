#include <gtest/gtest.h>

#include "host/data_path.h"
#include "host/kp_glfw_game.h"

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

}  // namespace
