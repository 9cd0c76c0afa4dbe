#pragma once

#include "runtime/kp_string.h"

// The current source position; null when the program carries none.
extern const char* dbg_info;
// The position captured when dbg_throw raised the last language error.
extern String dbg_exstack;
// The last stepping command accepted by the stop protocol: 0, 'e', 'l' or 's'.
extern int dbg_stepmode;
// 1 when the last command asks to stop again at the next step.
extern int dbg_suspend;

// Writes the text as UTF-8 and a line feed to standard output.
void kpPrint(String text);
void kpDebugLog(String text);

// An empty message ends the program normally; any other is a fatal error.
[[noreturn]] void kpError(String message);
[[noreturn]] void dbg_error(const char* message);

String dbg_stacktrace();
[[noreturn]] void dbg_throw(const char* message);

// Writes the text narrowed to bytes and a line feed to standard error.
void dbg_print(String text);

// The line-oriented stop protocol on the standard streams.
void dbg_stop();
int kpDebugStop();

// Reports SIGSEGV, SIGILL and SIGFPE through dbg_error.
void sighandler(int signal);
