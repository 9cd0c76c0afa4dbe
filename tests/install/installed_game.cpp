#include "tests/install/installed_game.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/reliability/started_program.h"

namespace install {
namespace {

namespace fs = std::filesystem;

// The title logo's box: bright lettering there, plain sky without the art.
constexpr e2e::Box kTitleLogo{60, 40, 380, 130};

e2e::Frame Shot(const std::string& name) {
    return e2e::Frame(RealProgram::Shot("install-" + name + ".png"));
}

bool TitleWithArt(const e2e::Frame& frame) {
    return e2e::NewUser::IsTitle(frame) && frame.Bright(kTitleLogo) > 0.1;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

Ran Shell(const std::string& command) {
    Ran ran;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return ran;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) ran.output.append(buffer.data(), n);
    int status = pclose(pipe);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Ran InstallInto(const std::string& prefix) {
    return Shell("cmake --install " + Quoted(BUILD_FOLDER) + " --strip --prefix " + Quoted(prefix));
}

void ExpectStrippedAndHardened(const std::string& program) {
    Ran sections = Shell("readelf --section-headers --wide " + Quoted(program));
    ASSERT_EQ(sections.status, 0) << sections.output;
    for (const char* section : {" .symtab ", " .debug_info ", " .comment "})
        EXPECT_EQ(sections.output.find(section), std::string::npos) << section << "in " << program;
    if (!kHardenedBuild) return;
    // Debian's start files carry no CET marks, so no program linked here can
    // show control flow integrity.
    Ran check = Shell("hardening-check --nocfprotection " + Quoted(program));
    EXPECT_EQ(check.status, 0) << check.output;
}

std::string BuildPackage(const TempFolder& folder, std::string& output) {
    Ran cpack = Shell("cpack -G DEB --config " + Quoted(std::string(BUILD_FOLDER) + "/CPackConfig.cmake") + " -B " +
                    Quoted(folder.path));
    output = cpack.output;
    if (cpack.status != 0) return "";
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path)) {
        if (entry.path().extension() == ".deb") return entry.path().string();
    }
    return "";
}

void ExpectTitleAndStateInDataFolder(const std::string& name, const std::string& launcher, const TempFolder& home,
                                     const std::vector<std::string>& environment, const std::string& stateFolder) {
    TempFolder start, logs;
    std::vector<std::string> settings = environment;
    settings.push_back("HOME=" + home.path);
    reliability::StartedProgram program(
        {.program = launcher, .folder = start.path, .output = logs.File("output.txt"), .environment = settings});
    e2e::Frame title;
    e2e::WaitFor(15, [&] {
        title = Shot(name);
        return TitleWithArt(title);
    });
    ASSERT_TRUE(e2e::NewUser::IsTitle(title)) << program.Output();
    EXPECT_GT(title.Bright(kTitleLogo), 0.1) << "the title logo is drawn from the installed data";

    std::string state = stateFolder + "/.briskostate";
    EXPECT_TRUE(reliability::LeaveUntil(5, [&] { return Contents(state) == reliability::FirstRunState(); }))
        << "leaving the window saves into the data folder";
    EXPECT_EQ(reliability::End(program, reliability::Ending::kF4), 0);
    EXPECT_TRUE(fs::is_empty(start.path)) << "nothing is saved where the game was started";
}

}  // namespace install
