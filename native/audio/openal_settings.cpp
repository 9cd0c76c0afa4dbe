#include "native/audio/openal_settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

struct SavedVariable {
    const char* name;
    bool set;
    std::string value;
};

std::vector<SavedVariable> saved;
bool applied = false;
int configFolderHandle = -1;

void Save(const char* name) {
    const char* value = std::getenv(name);
    saved.push_back({name, value != nullptr, value ? value : ""});
}

// A colon separates the folders of the list, so a folder whose name holds
// one is named through a handle open on it.
std::string FolderForList(const std::string& folder) {
    if (folder.find(':') == std::string::npos) return folder;
    configFolderHandle = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return configFolderHandle < 0 ? "" : "/proc/self/fd/" + std::to_string(configFolderHandle);
}

// The library reads the folders of the list from the last to the first, so
// the last is the one every other file overrides.
void AddConfigFolder(const std::string& configFolder) {
    if (configFolder.empty() || ConfigurationDecidesMoves("/etc/openal/alsoft.conf")) return;
    std::string folder = FolderForList(configFolder);
    if (folder.empty()) return;
    const char* list = std::getenv("XDG_CONFIG_DIRS");
    std::string folders = list && *list ? list : "/etc/xdg";
    setenv("XDG_CONFIG_DIRS", (folders + ":" + folder).c_str(), 1);
}

}  // namespace

void ApplyOpenALSettings(const std::string& configFolder) {
    if (applied) return;
    applied = true;
    Save("XDG_CONFIG_DIRS");
    Save("ALSOFT_LOGLEVEL");
    if (!std::getenv("ALSOFT_LOGLEVEL")) setenv("ALSOFT_LOGLEVEL", "0", 1);
    AddConfigFolder(configFolder);
}

void RestoreEnvironmentAfterOpenAL() {
    for (const SavedVariable& variable : saved) {
        if (variable.set) {
            setenv(variable.name, variable.value.c_str(), 1);
        } else {
            unsetenv(variable.name);
        }
    }
    saved.clear();
    if (configFolderHandle >= 0) close(configFolderHandle);
    configFolderHandle = -1;
}

bool ConfigurationDecidesMoves(const std::string& configFile) {
    std::ifstream file(configFile);
    std::string line;
    while (std::getline(file, line)) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line.compare(start, 11, "allow-moves") == 0) return true;
    }
    return false;
}
