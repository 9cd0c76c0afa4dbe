#include "bench/bench_clock.h"

#include <ctime>

namespace {

double Seconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

double Now() { return Seconds(CLOCK_MONOTONIC); }

double ThreadCpuNow() { return Seconds(CLOCK_THREAD_CPUTIME_ID); }
