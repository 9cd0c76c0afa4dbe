#pragma once

#include <functional>

// Runs the job on a thread an earlier job left waiting, or on a new one when
// none waits: starting a thread costs the caller about a tenth of a
// millisecond, more than all else a tune's start does on an update, and
// handing a job to a waiting thread almost nothing. Threads wait for their
// next job for the rest of the program.
void RunOnWorkerThread(std::function<void()> job);
