#pragma once

#include "runtime/kp_string.h"

// The folder of the running program, "/" separated, without a trailing "/":
// the folder of the file `selfLink` points to (the kernel's link to the
// program), else the folder of `command` (the program's own argv[0]), a bare
// name found along PATH (the system's default path when PATH is unset) as a
// shell finds it, links followed to the program itself, else the current
// folder. Non-ASCII folder names come back whole.
String ProgramFolder(const char* selfLink, const char* command);
