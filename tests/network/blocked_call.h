#pragma once

#include <sys/syscall.h>

#include <filesystem>
#include <fstream>
#include <string>

// True when a thread of this process is blocked in the system call
// `number` with `descriptor` as its first argument. The kernel shows each
// thread's current call in /proc, so a test can wait until a worker really
// waits instead of guessing how long it takes to get there.
inline bool AThreadIsBlockedIn(long number, int descriptor) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream call(task.path() / "syscall");
        long current = -1;
        std::string firstArgument;
        if (!(call >> current >> firstArgument) || current != number) continue;
        if (std::stol(firstArgument, nullptr, 16) == descriptor) return true;
    }
    return false;
}

// A receive on a socket: glibc makes recv a recvfrom call.
inline bool AThreadIsReceivingFrom(int descriptor) { return AThreadIsBlockedIn(SYS_recvfrom, descriptor); }
