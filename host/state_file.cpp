#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

bool WriteAll(int descriptor, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = pwrite(descriptor, bytes.data() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return fsync(descriptor) == 0;
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

// Errors after which the file itself may still be writable where it is.
bool PlaceRefused(int error) {
    return error == EACCES || error == EPERM || error == EBUSY || error == EXDEV || error == EROFS ||
           error == EWOULDBLOCK;
}

// Takes the room a longer state needs past the end of the file without
// making the file longer, so that a full disk fails before the old bytes
// are touched and a kill before the write leaves them exactly as they were.
// A file system that cannot hold room that way gets the file made longer,
// and cut back to the old length when even that fails.
bool ReserveRoom(int descriptor, off_t length, off_t needed) {
    if (needed <= length) return true;
    if (fallocate(descriptor, FALLOC_FL_KEEP_SIZE, length, needed - length) == 0) return true;
    if (errno != EOPNOTSUPP) return false;
    errno = posix_fallocate(descriptor, length, needed - length);
    if (errno == 0) return true;
    int error = errno;
    if (ftruncate(descriptor, length) != 0) error = errno;
    errno = error;
    return false;
}

// A write past the file size limit is cut short where the limit is, which
// in place would leave the new state's start over the old one's.
bool WithinSizeLimit(size_t size) {
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || size <= limit.rlim_cur) return true;
    errno = EFBIG;
    return false;
}

// Overwrites the file where it is: the new bytes first, then the length.
// A kill between the two leaves a shorter new state followed by the rest of
// the old one; there is no rename to make the change whole.
int WriteInPlace(const std::string& target, const std::string& bytes) {
    if (!WithinSizeLimit(bytes.size())) return -2;
    int descriptor = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) return -1;
    struct stat now;
    int result = 0;
    if (fstat(descriptor, &now) != 0) {
        result = -1;
    } else if (!ReserveRoom(descriptor, now.st_size, static_cast<off_t>(bytes.size()))) {
        result = errno == ENOSPC || errno == EFBIG ? -2 : -1;
    } else if (!WriteAll(descriptor, bytes) || ftruncate(descriptor, bytes.size()) != 0 || fsync(descriptor) != 0) {
        result = -2;
    }
    int error = errno;
    close(descriptor);
    errno = error;
    return result;
}

// True when this process holds the lock on the file open at `descriptor`
// and `name` still names that file; errno is EWOULDBLOCK when another
// process holds it or the name has moved on (its owner renamed it).
bool LockedUnderItsName(int descriptor, const std::string& name) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
    struct stat opened, named;
    if (fstat(descriptor, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev) {
        return true;
    }
    errno = EWOULDBLOCK;
    return false;
}

// Opens this process's scratch file beside `target`, locked for as long as
// it is open. A scratch file left by a save that died is taken over; one
// another live save holds (a repeated pid in another PID namespace) is left
// alone and the open fails with EWOULDBLOCK.
int OpenScratch(const std::string& scratch) {
    int descriptor = open(scratch.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return -1;
    if (LockedUnderItsName(descriptor, scratch) && ftruncate(descriptor, 0) == 0) return descriptor;
    int error = errno;
    close(descriptor);
    errno = error;
    return -1;
}

// "<state name>.<digits>.new": a scratch name any run may have left.
bool IsScratchName(const std::string& name, const std::string& stateName) {
    const std::string ending = ".new";
    std::size_t first = stateName.size() + 1;
    if (name.size() <= first + ending.size() || name.compare(0, first, stateName + ".") != 0 ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0) {
        return false;
    }
    std::size_t digits = name.size() - first - ending.size();
    return name.find_first_not_of("0123456789", first) == first + digits;
}

// Scratch files of saves that died under other pids would pile up beside
// the state file; one a live save holds stays.
void RemoveDeadScratchFiles(const std::string& target) {
    std::string folder = FolderOf(target);
    if (folder.empty()) folder = "/";
    std::string stateName = target.substr(target.rfind('/') + 1);
    DIR* listing = opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = readdir(listing)) {
        if (!IsScratchName(entry->d_name, stateName)) continue;
        std::string scratch = folder + "/" + entry->d_name;
        int descriptor = open(scratch.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) continue;
        if (LockedUnderItsName(descriptor, scratch)) unlink(scratch.c_str());
        close(descriptor);
    }
    closedir(listing);
}

// The scratch file takes on what the player set up on the old one: owner,
// group and permission bits. False when the owner cannot be kept.
bool TakeOver(int descriptor, const struct stat* old) {
    if (!old) return true;
    struct stat made;
    if (fstat(descriptor, &made) != 0) return false;
    if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
        fchown(descriptor, old->st_uid, old->st_gid) != 0) {
        errno = EPERM;
        return false;
    }
    return fchmod(descriptor, old->st_mode & 07777) == 0;
}

// -1 with errno set when the scratch file cannot stand in for the target.
int ReplaceThroughScratch(const std::string& target, const std::string& bytes, const struct stat* old) {
    std::string scratch = target + "." + std::to_string(getpid()) + ".new";
    int descriptor = OpenScratch(scratch);
    if (descriptor < 0) return -1;
    int result = 0;
    if (!TakeOver(descriptor, old)) {
        result = -1;
    } else if (!WriteAll(descriptor, bytes)) {
        result = -2;
    } else if (std::rename(scratch.c_str(), target.c_str()) != 0) {
        result = -1;
    }
    int error = errno;
    if (result != 0) unlink(scratch.c_str());
    close(descriptor);
    errno = error;
    return result;
}

}  // namespace

int ReplaceFileContent(const std::string& path, const std::string& bytes) {
    std::string target = FollowLinks(path);
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return -1;
    // Another name for the same file would keep the old state after a rename.
    if (exists && S_ISREG(old.st_mode) && old.st_nlink > 1) return WriteInPlace(target, bytes);

    int result = ReplaceThroughScratch(target, bytes, exists ? &old : nullptr);
    if (result == -1 && PlaceRefused(errno)) return WriteInPlace(target, bytes);
    if (result == 0) {
        SyncFolder(target);
        RemoveDeadScratchFiles(target);
    }
    return result;
}

std::string StateFilePath() {
    std::string folder = CurrentFolder();
    if (folder.back() != '/') folder += '/';
    return folder + ".briskostate";
}
