#include "host/file_paths.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

std::string LinkTarget(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0) return std::string();
        if (static_cast<std::size_t>(length) < target.size()) return target.substr(0, static_cast<std::size_t>(length));
        target.resize(target.size() * 2);
    }
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string CurrentFolder() {
    std::string folder(256, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE) return ".";
        folder.resize(folder.size() * 2);
    }
    return folder.substr(0, std::strlen(folder.c_str()));
}
