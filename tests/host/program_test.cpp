#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../support/exit_leak_check.h"

// X11's macros come after everything they would clash with.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "../support/x11_windows.h"

namespace {

// Starts the real program without the given standard streams, as a shell's
// ">&-" leaves it.
pid_t StartProgram(const std::vector<int>& closedStreams = {}) {
    pid_t program = fork();
    if (program == 0) {
        LeaveOutExitLeakCheck();
        for (int stream : closedStreams) close(stream);
        execl(PROGRAM, PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    return program;
}

// The exit status of the program once it has ended, within ten seconds, or
// -1 when it does not end by then (it is killed) or ends by a signal.
int ExitStatusWithinTenSeconds(pid_t program) {
    for (int wait = 0; wait < 100; ++wait) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    return -1;
}

// The real program, started as a player would: it opens its window, runs,
// and ends with status 0 when its window's close button is pressed.
TEST(Program, OpensItsWindowAndClosesOnRequest) {
    pid_t program = StartProgram();
    ASSERT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0) << "the window titled Vantaroo appears";
    EXPECT_EQ(ExitStatusWithinTenSeconds(program), 0);
}

// Started without a standard stream, the program plays all the same:
// nothing it prints goes into the file or connection that would otherwise
// take the stream's number, such as the display's.
TEST(Program, PlaysWithoutItsStandardStreams) {
    const struct {
        const char* name;
        std::vector<int> closedStreams;
    } cases[] = {
        {">&-", {STDOUT_FILENO}},
        {"2>&-", {STDERR_FILENO}},
        {"<&- >&- 2>&-", {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pid_t program = StartProgram(c.closedStreams);
        EXPECT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0) << "the window titled Vantaroo appears";
        EXPECT_EQ(ExitStatusWithinTenSeconds(program), 0);
    }
}

// Docks and task bars tie a window to its desktop entry by its class.
TEST(Program, NamesItsWindowForTheDesktop) {
    pid_t program = StartProgram();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window window = 0;
    for (int attempt = 0; attempt < 200 && !window; ++attempt) {
        window = FindWindowByTitle(display, DefaultRootWindow(display), "Vantaroo");
        if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XClassHint hint{};
    bool named = window && XGetClassHint(display, window, &hint);
    std::string instance = named ? hint.res_name : "", kind = named ? hint.res_class : "";
    if (named) {
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    XCloseDisplay(display);
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    EXPECT_EQ(instance, "vantaroo");
    EXPECT_EQ(kind, "vantaroo");
}

struct Ran {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the program from the shell with `before` in front (variables to set
// or unset) and the given arguments, in a scratch folder; `output` redirects
// its standard output elsewhere than the file read back.
Ran RunProgram(const std::string& before, const std::string& arguments, const std::string& output = "") {
    char folder[] = "/tmp/vantaroo-command-line-XXXXXX";
    if (!mkdtemp(folder)) return {};
    std::string dir = folder;
    std::string command = "cd " + dir + " && " + before + " timeout 20 " PROGRAM " " + arguments + " >" + dir +
                          "/out 2>" + dir + "/err " + output;
    int status = std::system(command.c_str());
    Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir + "/out"), ReadFile(dir + "/err")};
    std::error_code leftOver;
    std::filesystem::remove_all(dir, leftOver);
    return ran;
}

struct OptionCase {
    const char* arguments;
    int status;
    const char* out;  // expected in standard output ("" for none at all)
    const char* err;  // expected in standard error ("" for none at all)
};

// Options are answered without a window, so without any display at all.
TEST(Program, AnswersItsOptionsWithoutOpeningAWindow) {
    const OptionCase cases[] = {
        {"--help", 0, "Usage: vantaroo", ""},
        {"-h", 0, "F11", ""},
        {"--version", 0, "vantaroo " VANTAROO_VERSION "\n", ""},
        {"-V", 0, "vantaroo " VANTAROO_VERSION "\n", ""},
        {"--fullscreen", 2, "", "unknown option '--fullscreen'"},
        {"--help extra", 2, "", "unknown option 'extra'"},
        {"--help --version", 2, "", "Usage: vantaroo"},
    };
    for (const OptionCase& c : cases) {
        Ran ran = RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY", c.arguments);
        EXPECT_EQ(ran.status, c.status) << c.arguments;
        if (*c.out) {
            EXPECT_NE(ran.out.find(c.out), std::string::npos) << c.arguments << ": " << ran.out;
        } else {
            EXPECT_EQ(ran.out, "") << c.arguments;
        }
        if (*c.err) {
            EXPECT_NE(ran.err.find(c.err), std::string::npos) << c.arguments << ": " << ran.err;
        } else {
            EXPECT_EQ(ran.err, "") << c.arguments;
        }
    }
}

// An answer that never reached its reader is a failure, told on standard
// error like other command-line programs tell it.
TEST(Program, FailsWhenItsAnswerCannotBeWritten) {
    const struct {
        const char* arguments;
        const char* output;
        const char* reason;
    } cases[] = {
        {"--help", ">/dev/full", "No space left on device"},
        {"--version", ">/dev/full", "No space left on device"},
        {"--help", ">&-", "Bad file descriptor"},
        {"-V", ">&-", "Bad file descriptor"},
    };
    for (const auto& c : cases) {
        Ran ran = RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY", c.arguments, c.output);
        EXPECT_EQ(ran.status, 1) << c.arguments << c.output;
        EXPECT_EQ(ran.err, std::string("vantaroo: cannot write to standard output: ") + c.reason + "\n")
            << c.arguments << c.output;
    }
}

TEST(Program, HelpSaysWhereTheStateIsKept) {
    Ran ran = RunProgram("", "--help");
    EXPECT_NE(ran.out.find("/tmp/vantaroo-command-line-"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("/.briskostate"), std::string::npos) << ran.out;
}

// Without a display the player is told why in words, and the program ends
// with 1 rather than the status of a crash. An empty variable names no
// display.
TEST(Program, SaysWhyWithoutADisplay) {
    const std::pair<const char*, const char*> cases[] = {
        {"env -u DISPLAY -u WAYLAND_DISPLAY", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"env -u WAYLAND_DISPLAY DISPLAY=", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"env DISPLAY= WAYLAND_DISPLAY=", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"env -u WAYLAND_DISPLAY DISPLAY=:4077", "on display ':4077'"},
        {"env DISPLAY= WAYLAND_DISPLAY=wayland-4077", "on display 'wayland-4077'"},
    };
    for (const auto& [before, reason] : cases) {
        Ran ran = RunProgram(before, "");
        EXPECT_EQ(ran.status, 1) << before;
        EXPECT_NE(ran.err.find(reason), std::string::npos) << before << ": " << ran.err;
    }
}

}  // namespace
