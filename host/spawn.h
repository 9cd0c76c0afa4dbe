#pragma once

#include <spawn.h>
#include <sys/types.h>

// Starts `program` (found along PATH when it names no folder) with
// `arguments` and `environment`, every signal at its default and none
// blocked, whatever the game set for itself (saves ignore SIGXFSZ, for
// one). `actions` may be null. Returns 0, or the error that kept it from
// starting.
int SpawnWithDefaultSignals(pid_t* child, const char* program, char* const arguments[], char* const environment[],
                            const posix_spawn_file_actions_t* actions);
