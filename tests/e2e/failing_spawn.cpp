// Preloaded into the program: its first FAILING_SPAWNS starts of another
// program fail as when the player's processes are at their limit.
#include <dlfcn.h>
#include <spawn.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

extern "C" int posix_spawnp(pid_t* child, const char* file, const posix_spawn_file_actions_t* actions,
                            const posix_spawnattr_t* attributes, char* const arguments[], char* const environment[]) {
    static std::atomic<int> failures{std::atoi(std::getenv("FAILING_SPAWNS") ? std::getenv("FAILING_SPAWNS") : "0")};
    if (failures.fetch_sub(1) > 0) return EAGAIN;
    using Spawn = int (*)(pid_t*, const char*, const posix_spawn_file_actions_t*, const posix_spawnattr_t*,
                          char* const[], char* const[]);
    static auto realSpawn = reinterpret_cast<Spawn>(dlsym(RTLD_NEXT, "posix_spawnp"));
    return realSpawn(child, file, actions, attributes, arguments, environment);
}
