#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/new_user.h"

namespace reliability {

// How the real program is started for a fault.
struct Launch {
    std::string program = PROGRAM;  // the built program or a copy of it
    std::string folder{};           // the working folder
    std::string output{};           // where what it prints goes
    // "NAME=value" settings for the program alone.
    std::vector<std::string> environment{};
    // Root may write anywhere; this takes that power away, so folder modes
    // hold for the program as they do for anybody else.
    bool withoutRootsWritePower = false;
    // As in a sandbox: the program is the first process of a PID namespace
    // of its own, so every start with this has the same pid.
    bool ownPidNamespace = false;
};

// The real program in a window under Xvfb, started as `launch` says and
// killed when this ends if it still runs.
class StartedProgram {
public:
    explicit StartedProgram(const Launch& launch);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // The exit status once it has ended, or -1 when it does not end within
    // the time or ends by a signal.
    int ExitStatus(double seconds = 30);
    void Kill();
    std::string Output() const;
    // True when the program has `path` open for writing.
    bool WritesInto(const std::string& path) const;
    // True when no PID namespace could be made for it; it never ran.
    bool PidNamespaceRefused() const { return pidNamespaceRefused; }

private:
    void StartInPidNamespace(const Launch& launch);

    pid_t pid = 0;      // the child this process waits for
    pid_t program = 0;  // the program itself, which is that child unless in a PID namespace
    bool pidNamespaceRefused = false;
    std::string output;
};

// The state a first run saves: default settings and their checksum, no
// badges, eight empty highscore blocks.
std::string FirstRunState();

// The environment that preloads the slow_save library: the steps of every
// save are noted in `log` and each takes `milliseconds` longer.
std::vector<std::string> SlowSaves(const std::string& log, int milliseconds);

// Pictures of the window, kept as "fault-<name>.png" beside the test.
e2e::Frame Shot(const std::string& name);
// Takes pictures until one passes the test or the time is up; returns the
// last one.
e2e::Frame ShotWhen(const std::string& name, double seconds, const std::function<bool(const e2e::Frame&)>& test);

// Another program's window takes the focus, which makes the game save, until
// `done` holds or the time is up; then the game's window gets it back. True
// when `done` held.
bool LeaveUntil(double seconds, const std::function<bool()>& done);

// The ways a player ends the program; End returns its exit status.
enum class Ending { kF4, kCloseButton };
int End(StartedProgram& program, Ending ending);

}  // namespace reliability
