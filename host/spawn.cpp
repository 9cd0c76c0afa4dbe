#include "host/spawn.h"

#include <signal.h>

int SpawnWithDefaultSignals(pid_t* child, const char* program, char* const arguments[], char* const environment[],
                            const posix_spawn_file_actions_t* actions) {
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_t attributes;
    if (int failed = posix_spawnattr_init(&attributes)) return failed;
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    int failed = posix_spawnp(child, program, actions, &attributes, arguments, environment);
    posix_spawnattr_destroy(&attributes);
    return failed;
}
