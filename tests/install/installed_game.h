#pragma once

#include <string>
#include <vector>

#include "tests/host/temp_folder.h"

namespace install {

// What a shell command printed on both its outputs, and its exit status.
struct Ran {
    int status = -1;
    std::string output;
};
Ran Shell(const std::string& command);

// A path or word quoted for the shell.
std::string Quoted(const std::string& text);

// Whether the build takes the distribution's hardening flags (optimised
// builds without sanitizers).
constexpr bool kHardenedBuild = HARDENED_BUILD;

// Installs the built game into `prefix` as `make install` does.
Ran InstallInto(const std::string& prefix);

// The installed program carries no symbols, debug information or compiler
// notes, and in a hardened build hardening-check passes it.
void ExpectStrippedAndHardened(const std::string& program);

// The Debian package built from the built game by CPack into `folder`; its
// path, or "" when CPack failed (the output then says why).
std::string BuildPackage(const TempFolder& folder, std::string& output);

// The installed game started by its launcher from a folder of its own, with
// a home of its own and the given "NAME=value" settings: it shows the title
// with its art, and the state it saves when its window loses the focus is
// the first run's, in `stateFolder` and not in the starting folder. The
// screenshots are kept as "install-<name>*.png".
void ExpectTitleAndStateInDataFolder(const std::string& name, const std::string& launcher, const TempFolder& home,
                                     const std::vector<std::string>& environment, const std::string& stateFolder);

}  // namespace install
