#pragma once

#include <cstdlib>
#include <string>

// Called just before a whole program is started under Xvfb, in the child
// or in the parent whose environment the program inherits. In the
// sanitized build LeakSanitizer stops such a program at its exit to trace
// its threads (the window library's, the audio mixer's), and on a busy
// machine that tracer can crash, turning a clean end into status 1. Leaks
// are checked by the unit tests and the fuzzers, where the check is
// reliable; a whole program's run leaves it out. Other builds ignore it.
inline void LeaveOutExitLeakCheck() {
    const char* options = std::getenv("ASAN_OPTIONS");
    std::string withoutLeakCheck = std::string(options ? options : "");
    if (withoutLeakCheck.ends_with(":detect_leaks=0")) return;
    withoutLeakCheck += ":detect_leaks=0";
    setenv("ASAN_OPTIONS", withoutLeakCheck.c_str(), 1);
}
