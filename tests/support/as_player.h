#pragma once

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <string>

// Root writes past file modes and may give files away, so a test whose
// point is a mode runs its saves as a player does: as nobody when the test
// runs as root (as in CI), as itself otherwise.
struct Player {
    uid_t uid;
    gid_t gid;
};

inline Player ThePlayer() {
    if (geteuid() != 0) return {geteuid(), getegid()};
    const passwd* nobody = getpwnam("nobody");
    return nobody ? Player{nobody->pw_uid, nobody->pw_gid} : Player{65534, 65534};
}

// Makes this process, a forked child, the player for good. False when it
// could not.
inline bool BecomePlayer() {
    if (geteuid() != 0) return true;
    const Player player = ThePlayer();
    return setgroups(0, nullptr) == 0 && setresgid(player.gid, player.gid, player.gid) == 0 &&
           setresuid(player.uid, player.uid, player.uid) == 0;
}

// Hands a file or folder the test made to the player, as if the player had
// made it.
inline bool GiveToPlayer(const std::string& path) {
    const Player player = ThePlayer();
    return geteuid() != 0 || chown(path.c_str(), player.uid, player.gid) == 0;
}
