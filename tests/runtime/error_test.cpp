#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string ReadAll(int fd) {
    std::string text;
    char block[4096];
    ssize_t got;
    while ((got = read(fd, block, sizeof block)) > 0) text.append(block, static_cast<size_t>(got));
    close(fd);
    return text;
}

// Runs the probe with `input` on standard input (closed after it).
Outcome RunProbe(const std::string& mode, const std::string& input) {
    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err)) return {-1, "", ""};
    pid_t child = fork();
    if (child == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        execl(ERROR_PROBE, ERROR_PROBE, mode.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0) return {-1, "", ""};
    close(in[1]);
    // Outputs are small, far below a pipe's capacity, so reading one after the other is safe.
    Outcome outcome{0, ReadAll(out[0]), ReadAll(err[0])};
    int status = 0;
    waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    return outcome;
}

const std::string kStopLine = "{{~~~~}}\n\n";

std::string Report(const std::string& message) { return "Brisko Runtime Error : " + message + "\n\n"; }

struct Case {
    const char* name;
    const char* mode;
    std::string input;
    int status;
    std::string out;
    std::string err;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ErrorPath : public ::testing::TestWithParam<Case> {};

TEST_P(ErrorPath, ExitStatusAndStreams) {
    const Case& c = GetParam();
    Outcome got = RunProbe(c.mode, c.input);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(got.out, c.out);
    EXPECT_EQ(got.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Runtime, ErrorPath,
    ::testing::Values(
        Case{"EmptyMessageEndsQuietly", "quiet", "", 0, "", ""},
        Case{"FatalErrorStopsAndEndsAtClosedInput", "error", "", 255, Report("x"), kStopLine},
        Case{"UnknownCommandIsEchoed", "error", "z\n", 255, Report("x") + "????? z ?????", kStopLine},
        Case{"LineWithoutLineFeedEnds", "error", "q", 255, Report("x"), kStopLine},
        Case{"QuestionReadsTheNextLine", "error", "?\nq\n", 0, Report("x"), kStopLine},
        Case{"StepCommandsReportAgain", "error", "r\ns\ne\nl\nq\n", 0,
             Report("x") + Report("x") + Report("x") + Report("x") + Report("x"),
             kStopLine + kStopLine + kStopLine + kStopLine + kStopLine},
        Case{"PositionFollowsTheMessage", "position", "", 255,
             "Brisko Runtime Error : Null object access\nmenu.cpp<42>\n\n", "{{~~menu.cpp<42>~~}}\n\n"},
        Case{"PrintEncodesUtf8", "print", "", 0, "A\xC3\xA9\xE2\x82\xAC\n", ""},
        Case{"UncaughtException", "die", "", 255, "Brisko Runtime Error : Uncaught Brisko Exception\n", ""},
        Case{"SegmentationFault", "segv", "", 255, Report("Memory access violation"), kStopLine},
        Case{"IllegalInstruction", "ill", "", 255, Report("Illegal instruction"), kStopLine},
        Case{"FloatingPointException", "fpe", "", 255, Report("Floating point exception"), kStopLine},
        Case{"OtherSignal", "other", "", 255, Report("Unknown signal"), kStopLine},
        Case{"ThrowCapturesPosition", "throw", "", 0, "Array index out of range\nplay.cpp<7>\n\n", ""},
        // A live object answers with its text; null, a non-object address and
        // unreadable text answer with an empty line.
        Case{"InspectOnlyLiveObjects", "inspect", "", 0, "", kStopLine + "+Object\n\n" + "\n" + "\n" + "\n"},
        Case{"BrokenListIsFatal", "list", "", 255, "unmarked\nLIST ERROR!\n", ""}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
