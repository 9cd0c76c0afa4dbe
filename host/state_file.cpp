#include "host/state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "host/file_paths.h"

namespace {

// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::string target = LinkTarget(path);
        if (target.empty()) break;
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

bool WriteWhole(FILE* file, const std::string& bytes) {
    bool complete = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    complete = std::fflush(file) == 0 && complete;
    complete = fsync(fileno(file)) == 0 && complete;
    return std::fclose(file) == 0 && complete;
}

// The rename is only lasting once the folder that holds the name is on disk
// too. Some file systems cannot sync a folder; the state is in place anyway.
void SyncFolder(const std::string& file) {
    std::string folder = FolderOf(file);
    int descriptor = open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

}  // namespace

int ReplaceFileContent(const std::string& path, const std::string& bytes) {
    std::string target = FollowLinks(path);
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return -1;

    std::string scratch = target + "." + std::to_string(getpid()) + ".new";
    FILE* file = std::fopen(scratch.c_str(), "wbx");
    if (!file) return -1;
    if (exists) fchmod(fileno(file), old.st_mode & 07777);
    if (!WriteWhole(file, bytes)) {
        std::remove(scratch.c_str());
        return -2;
    }
    if (std::rename(scratch.c_str(), target.c_str()) != 0) {
        std::remove(scratch.c_str());
        return -1;
    }
    SyncFolder(target);
    return 0;
}
