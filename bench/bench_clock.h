#pragma once

// Seconds on the monotonic clock, and of this thread's processor time (which
// leaves out the time other programs on a busy machine take).
double Now();
double ThreadCpuNow();
