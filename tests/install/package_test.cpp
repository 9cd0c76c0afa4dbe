#include <gtest/gtest.h>

#include <filesystem>

#include "tests/install/installed_game.h"

namespace install {
namespace {

namespace fs = std::filesystem;

// dpkg working on a root folder of its own instead of the machine's.
std::string Dpkg(const std::string& root, const std::string& action) {
    return "dpkg --root=" + Quoted(root) + " --log=/dev/null --force-not-root --force-depends --force-script-chrootless " +
           action;
}

std::string Field(const std::string& package, const std::string& name) {
    Ran field = Shell("dpkg-deb --field " + Quoted(package) + " " + name);
    return field.output.empty() ? "" : field.output.substr(0, field.output.size() - 1);
}

// CPack packs the built game, hardened and stripped, as a Debian game that
// lintian finds no error in, with the libraries it links as dependencies.
// Installed, it plays from its games folders and saves in the player's data
// folder; removed, it leaves nothing behind.
TEST(Package, InstallsAsADebianGameAndRemovesCleanly) {
    TempFolder packed, root, home;
    std::string output;
    std::string package = BuildPackage(packed, output);
    ASSERT_NE(package, "") << output;

    // Shown with the informational tags, which tell a program built without
    // the hardening flags or stripped only halfway.
    Ran lintian = Shell("lintian -I --fail-on error " + Quoted(package));
    EXPECT_EQ(lintian.status, 0) << lintian.output;
    std::vector<const char*> unwantedTags = {"binary-has-unneeded-section"};
    if (kHardenedBuild) unwantedTags.insert(unwantedTags.end(), {"hardening-no-bindnow", "hardening-no-fortify-functions"});
    for (const char* tag : unwantedTags) EXPECT_EQ(lintian.output.find(tag), std::string::npos) << tag;
    EXPECT_EQ(Field(package, "Section"), "games");
    EXPECT_EQ(Field(package, "Priority"), "optional");
    std::string depends = Field(package, "Depends");
    for (const char* library : {"libglfw3", "libopenal1", "libstb0", "libopengl0"})
        EXPECT_NE(depends.find(library), std::string::npos) << depends;

    for (const char* folder : {"var/lib/dpkg/info", "var/lib/dpkg/updates"}) fs::create_directories(root.File(folder));
    root.Write("var/lib/dpkg/status", "");
    Ran install = Shell(Dpkg(root.path, "--install " + Quoted(package)));
    ASSERT_EQ(install.status, 0) << install.output;
    ExpectStrippedAndHardened(root.File("usr/lib/games/vantaroo/vantaroo"));
    ExpectTitleAndStateInDataFolder("package", root.File("usr/games/vantaroo"), home,
                                    {"XDG_DATA_HOME=" + home.File("data")}, home.File("data/vantaroo"));

    Ran purge = Shell(Dpkg(root.path, "--purge vantaroo"));
    ASSERT_EQ(purge.status, 0) << purge.output;
    fs::remove_all(root.File("var/lib/dpkg"));
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.path)) {
        if (!entry.is_directory()) left.push_back(entry.path().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(root.File("usr")));
}

}  // namespace
}  // namespace install
