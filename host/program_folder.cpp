#include "host/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/file_paths.h"
#include "runtime/system_text.h"

namespace {

bool IsRunnableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The folders a shell searches for a bare command name: PATH, or the
// system's default path when PATH is unset.
std::string SearchFolders() {
    if (const char* folders = std::getenv("PATH")) return folders;
    std::size_t size = confstr(_CS_PATH, nullptr, 0);
    if (size == 0) return {};
    std::string folders(size, '\0');
    confstr(_CS_PATH, folders.data(), size);
    folders.resize(size - 1);
    return folders;
}

// The file a shell runs for a bare command name: the first runnable one in
// the search folders, an empty entry meaning the current folder.
std::string SearchPath(const char* command) {
    std::string list = SearchFolders();
    for (std::size_t start = 0; start <= list.size();) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(start, end - start);
        if (folder.empty() || folder[0] != '/') folder = CurrentFolder() + (folder.empty() ? "" : "/" + folder);
        std::string candidate = folder + "/" + command;
        if (IsRunnableFile(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

std::string CommandPath(const char* command) {
    if (!command || !*command) return {};
    if (command[0] == '/') return command;
    if (std::strchr(command, '/')) return CurrentFolder() + "/" + command;
    return SearchPath(command);
}

// The program itself rather than a link to it, whose folder holds none of
// the program's files; a path that cannot be resolved is kept as given.
std::string ResolvedPath(const std::string& path) {
    if (path.empty()) return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string program = resolved;
    std::free(resolved);
    return program;
}

}  // namespace

String ProgramFolder(const char* selfLink, const char* command) {
    std::string program = LinkTarget(selfLink);
    if (program.empty()) program = ResolvedPath(CommandPath(command));
    return SystemText(program.empty() ? CurrentFolder() : FolderOf(program));
}
