#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "host/file_paths.h"

namespace {

// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

// A link in /proc (/proc/self/fd/1, where /dev/stdout leads) stands for a
// file some process has open: its text is no path to follow ("pipe:[N]",
// or a name in another mount namespace), only the kernel can follow it.
bool IsProcessLink(const std::string& path) {
    struct statfs where;
    return statfs(FolderOf(path).c_str(), &where) == 0 && where.f_type == PROC_SUPER_MAGIC;
}

// Where the file behind `path` is named, up to the first link only the
// kernel can follow.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < kMostLinks && !IsProcessLink(path); ++hop) {
        std::string target = LinkTarget(path);
        if (target.empty()) break;
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

// Writes all of `bytes`: each at its place from the start of the file, or
// one after another where the file has no places, as a FIFO. A write that
// takes none of them and names no error means no room, as far as a save
// can tell.
bool WriteBytes(int descriptor, const std::string& bytes, bool atPlaces) {
    size_t done = 0;
    while (done < bytes.size()) {
        const char* rest = bytes.data() + done;
        size_t left = bytes.size() - done;
        ssize_t written = atPlaces ? pwrite(descriptor, rest, left, done) : write(descriptor, rest, left);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = ENOSPC;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

bool WriteAll(int descriptor, const std::string& bytes) {
    return WriteBytes(descriptor, bytes, true) && fsync(descriptor) == 0;
}

void CloseKeepingErrno(int descriptor) {
    int error = errno;
    close(descriptor);
    errno = error;
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
// are touched. A file system that cannot hold room that way gets the write
// without it: making the file longer first would leave a kill before the
// write with the old bytes followed by zeros.
bool ReserveRoom(int descriptor, off_t length, off_t needed) {
    if (needed <= length) return true;
    return fallocate(descriptor, FALLOC_FL_KEEP_SIZE, length, needed - length) == 0 || errno == EOPNOTSUPP;
}

// A write past the file size limit is cut short where the limit is, which
// in place would leave the new state's start over the old one's.
bool WithinSizeLimit(size_t size) {
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || size <= limit.rlim_cur) return true;
    errno = EFBIG;
    return false;
}

// How long an in-place save waits for another one to finish: far longer
// than a save takes, short enough that a program keeping the lock for good
// does not stop the game.
constexpr int kLockTries = 400;
constexpr useconds_t kLockPauseMicroseconds = 5000;

// Takes the file's lock for this save alone. A file system that keeps no
// locks gets the write without one; EWOULDBLOCK when another process held
// it all the while.
bool LockForWriting(int descriptor) {
    for (int tries = 1;; ++tries) {
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return true;
        if (tries == kLockTries) return false;
        usleep(kLockPauseMicroseconds);
    }
}

// Overwrites the file where it is: the new bytes first, then the length.
// A kill between the two leaves a shorter new state followed by the rest of
// the old one; there is no rename to make the change whole. Saves in place
// take turns on the file's lock, so two at once never mix their bytes; a
// save through a scratch file needs no turn, as it never writes into the
// file another one has open but renames a whole new one over its name.
int WriteInPlace(const std::string& target, const std::string& bytes) {
    if (!WithinSizeLimit(bytes.size())) return -2;
    int descriptor = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) return -1;
    struct stat now;
    int result = 0;
    if (!LockForWriting(descriptor) || fstat(descriptor, &now) != 0) {
        result = -1;
    } else if (!ReserveRoom(descriptor, now.st_size, static_cast<off_t>(bytes.size()))) {
        result = errno == ENOSPC || errno == EFBIG ? -2 : -1;
    } else if (!WriteAll(descriptor, bytes) || ftruncate(descriptor, bytes.size()) != 0 || fsync(descriptor) != 0) {
        result = -2;
    }
    CloseKeepingErrno(descriptor);
    return result;
}

// A regular file a process has open (/dev/stdout into a file) gets the
// bytes after what was written into it before, as if they were printed.
int PlainWriteFlags(int descriptor) {
    struct stat status;
    int flags = fcntl(descriptor, F_GETFL) & ~O_NONBLOCK;
    return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) ? flags | O_APPEND : flags;
}

// A device (/dev/null), a FIFO another program reads or a file a process
// has open takes the bytes as a plain write gives them: a rename would put
// another file in its place, and it has no room to reserve nor length to
// set. A FIFO nobody reads fails the save (ENXIO) rather than stopping the
// game until somebody does, and one whose reader leaves fails it (EPIPE).
int WritePlainly(const std::string& target, const std::string& bytes) {
    int descriptor = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return -1;
    int result = 0;
    if (fcntl(descriptor, F_SETFL, PlainWriteFlags(descriptor)) != 0) {
        result = -1;
    } else if (!WriteBytes(descriptor, bytes, false)) {
        result = -2;
    }
    CloseKeepingErrno(descriptor);
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

int CloseFailing(int descriptor) {
    CloseKeepingErrno(descriptor);
    return -1;
}

// A regular file with no other name, which this save may cut and write.
bool OnlyNameOfAFile(int descriptor) {
    struct stat status;
    return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1;
}

// Makes the scratch file anew, locked. Another save that makes it first
// holds it: EWOULDBLOCK.
int CreateScratch(const std::string& scratch) {
    int descriptor = open(scratch.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        if (errno == EEXIST) errno = EWOULDBLOCK;
        return -1;
    }
    return LockedUnderItsName(descriptor, scratch) ? descriptor : CloseFailing(descriptor);
}

// Takes the scratch name from a symbolic link on it (ELOOP) and makes the
// scratch file anew; the link's target stays untouched.
int ReplaceLinkWithScratch(const std::string& scratch) {
    if (errno != ELOOP || unlink(scratch.c_str()) != 0) return -1;
    return CreateScratch(scratch);
}

// Opens this process's scratch file beside `target`, locked for as long as
// it is open. A scratch file left by a save that died is taken over; one
// another live save holds (a repeated pid in another PID namespace) is left
// alone and the open fails with EWOULDBLOCK. A name that also links another
// file (a snapshot tool's hard link, or a symbolic link) is removed and made
// anew, so that file keeps what it holds.
int OpenScratch(const std::string& scratch) {
    int descriptor = open(scratch.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return ReplaceLinkWithScratch(scratch);
    if (!LockedUnderItsName(descriptor, scratch)) return CloseFailing(descriptor);
    if (OnlyNameOfAFile(descriptor)) return ftruncate(descriptor, 0) == 0 ? descriptor : CloseFailing(descriptor);
    if (unlink(scratch.c_str()) != 0) return CloseFailing(descriptor);
    close(descriptor);
    return CreateScratch(scratch);
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

// Opens a scratch file to lock it: for writing, as NFSv4 locks only such a
// file, or for reading where the saver may not write it (a sudo run's).
int OpenToLock(const std::string& scratch) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int descriptor = open(scratch.c_str(), O_WRONLY | kFlags);
    return descriptor < 0 && errno == EACCES ? open(scratch.c_str(), O_RDONLY | kFlags) : descriptor;
}

// Scratch files of saves that died under other pids would pile up beside
// the state file; one a live save holds stays.
void RemoveDeadScratchFiles(const std::string& target) {
    // A state in the root folder has "" for its folder, and "/" + name is
    // still its scratch file's path.
    std::string folder = FolderOf(target);
    std::string stateName = target.substr(target.rfind('/') + 1);
    DIR* listing = opendir(folder.empty() ? "/" : folder.c_str());
    if (!listing) return;
    while (const dirent* entry = readdir(listing)) {
        if (!IsScratchName(entry->d_name, stateName)) continue;
        std::string scratch = folder + "/" + entry->d_name;
        int descriptor = OpenToLock(scratch);
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
    struct stat old;
    bool exists = stat(path.c_str(), &old) == 0;
    if (exists && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return -1;
    // A folder in the file's place fails at the rename and is told so; any
    // other file that is not a regular one is written plainly.
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) return WritePlainly(path, bytes);
    std::string target = FollowLinks(path);
    if (IsProcessLink(target)) return WritePlainly(target, bytes);
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
