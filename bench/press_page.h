#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

// The page the latency player and the shim preloaded into the program share
// through a file both map. Presses are numbered from 1. The player arms a
// press; the shim reads the watched region back after every swap from then
// on, the last read before the press being the reference; the player notes
// the press time and sends the key; the shim marks the press answered at the
// first swap after that time whose region differs from the reference.
// Times are CLOCK_MONOTONIC nanoseconds.
struct PressPage {
    std::atomic<std::int64_t> armed;
    std::atomic<std::int64_t> referenced;
    std::atomic<std::int64_t> pressTime;
    std::atomic<std::int64_t> pressed;
    std::atomic<std::int64_t> answerTime;
    std::atomic<std::int64_t> answered;
    // What the readbacks cost the program, and how often the region changed
    // while no press was out (a region that is not still makes answers
    // untrustworthy).
    std::atomic<std::int64_t> readbacks;
    std::atomic<std::int64_t> readbackNanos;
    std::atomic<std::int64_t> longestReadbackNanos;
    std::atomic<std::int64_t> strayChanges;
};

static_assert(std::atomic<std::int64_t>::is_always_lock_free, "the page is shared between processes");

// The page in the file at `path` (made and zeroed beforehand), or null.
inline PressPage* MapPressPage(const char* path) {
    if (!path) return nullptr;
    int file = open(path, O_RDWR | O_CLOEXEC);
    if (file < 0) return nullptr;
    void* page = mmap(nullptr, sizeof(PressPage), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    close(file);
    return page == MAP_FAILED ? nullptr : static_cast<PressPage*>(page);
}
