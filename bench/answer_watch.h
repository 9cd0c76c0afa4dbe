#pragma once

#include <cstdint>

// Inside the measured program, right after a buffer swap that returned at
// `swapTime` (CLOCK_MONOTONIC nanoseconds): reads the watched region of the
// frame just shown back while the latency player has a press out, and marks the
// press answered once the region shows a change. The page's file is named by
// VANTAROO_PRESS_PAGE, the region by VANTAROO_WATCHED_REGION as
// "x y width height" in window pixels, rows counted from the bottom; without
// both nothing is read.
void WatchForAnswer(std::int64_t swapTime);
