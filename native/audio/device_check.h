#pragma once

// Whether OpenAL, started afresh, opens an output device. OpenAL picks its
// drivers once per process, so the question goes to a new run of this same
// program, which answers it and ends before its main. True also where no
// such run can ever be made: then the caller's own library has to try.
// Waits at most a few seconds, however stuck the sound server is.
bool OpensInAFreshLibrary();

// Ends a running check at once: the program is ending.
void EndRunningCheck();
