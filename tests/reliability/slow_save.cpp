// Preloaded into the program (LD_PRELOAD). Each step of writing a file whose
// name starts with ".briskostate" is noted as a line in the file SLOW_SAVE_LOG
// names: "open" (or "open failed") to write it, by fopen or by open with
// O_CREAT (an open that only locks a file is no step), "reserve" before
// room is taken for it, "write" before bytes are written into it at
// a place, "truncate" before its length is set, "fsync", "rename" before and
// "renamed" (or "rename failed") after renaming onto it, and "fsync folder"
// when a folder is synced. Each note then waits
// SLOW_SAVE_MILLISECONDS, so that a test can see what a save did and kill the
// program in the middle of a step. A lock on such a file through a
// descriptor not open for writing is refused with EBADF, as NFSv4 refuses
// it. Set, SLOW_SAVE_NO_KEEP_SIZE makes room past the end of such a file
// unavailable (EOPNOTSUPP) as on file systems without it, and
// SLOW_SAVE_WRITES_NOTHING makes a write into it take no bytes and name no
// error. Other files pass untouched.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

bool IsStateFile(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    return std::strncmp(name, ".briskostate", 12) == 0;
}

std::string PathOf(int fd) {
    char path[4096];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t length = readlink(link.c_str(), path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

void Note(const char* step) {
    const char* log = std::getenv("SLOW_SAVE_LOG");
    int fd = log ? open(log, O_WRONLY | O_APPEND | O_CREAT, 0644) : -1;
    if (fd >= 0) {
        dprintf(fd, "%s\n", step);
        close(fd);
    }
    const char* delay = std::getenv("SLOW_SAVE_MILLISECONDS");
    long milliseconds = delay ? std::atol(delay) : 0;
    timespec pause{milliseconds / 1000, milliseconds % 1000 * 1000000};
    nanosleep(&pause, nullptr);
}

bool IsFolder(int fd) {
    struct stat status;
    return fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

template <class Function> Function* Next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode) {
    FILE* file = Next<FILE*(const char*, const char*)>("fopen")(path, mode);
    if (IsStateFile(path) && std::strpbrk(mode, "wa+")) Note(file ? "open" : "open failed");
    return file;
}

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    int fd = Next<int(const char*, int, ...)>("open")(path, flags, mode);
    bool toWrite = (flags & O_CREAT) && (flags & O_ACCMODE) != O_RDONLY;
    if (IsStateFile(path) && toWrite) Note(fd >= 0 ? "open" : "open failed");
    return fd;
}

ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
    if (IsStateFile(PathOf(fd).c_str())) {
        Note("write");
        if (std::getenv("SLOW_SAVE_WRITES_NOTHING")) return 0;
    }
    return Next<ssize_t(int, const void*, size_t, off_t)>("pwrite")(fd, bytes, count, offset);
}

int ftruncate(int fd, off_t length) noexcept {
    if (IsStateFile(PathOf(fd).c_str())) Note("truncate");
    return Next<int(int, off_t)>("ftruncate")(fd, length);
}

int fallocate(int fd, int mode, off_t offset, off_t length) {
    if (IsStateFile(PathOf(fd).c_str())) {
        Note("reserve");
        if ((mode & FALLOC_FL_KEEP_SIZE) && std::getenv("SLOW_SAVE_NO_KEEP_SIZE")) {
            errno = EOPNOTSUPP;
            return -1;
        }
    }
    return Next<int(int, int, off_t, off_t)>("fallocate")(fd, mode, offset, length);
}

int posix_fallocate(int fd, off_t offset, off_t length) {
    if (IsStateFile(PathOf(fd).c_str())) Note("reserve");
    return Next<int(int, off_t, off_t)>("posix_fallocate")(fd, offset, length);
}

int flock(int fd, int operation) noexcept {
    if (IsStateFile(PathOf(fd).c_str()) && (fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return Next<int(int, int)>("flock")(fd, operation);
}

int fsync(int fd) {
    if (IsFolder(fd)) Note("fsync folder");
    if (IsStateFile(PathOf(fd).c_str())) Note("fsync");
    return Next<int(int)>("fsync")(fd);
}

int rename(const char* from, const char* to) {
    bool state = IsStateFile(to);
    if (state) Note("rename");
    int result = Next<int(const char*, const char*)>("rename")(from, to);
    if (state) Note(result == 0 ? "renamed" : "rename failed");
    return result;
}

}  // extern "C"
