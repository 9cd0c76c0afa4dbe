#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../support/exit_leak_check.h"

namespace {

struct ProbeRun {
    int status;
    std::vector<std::string> lines;
};

ProbeRun RunProbe(const std::string& mode) {
    ProbeRun run{-1, {}};
    LeaveOutExitLeakCheck();
    FILE* output = popen((std::string(APP_PROBE) + " " + mode + " 2>/dev/null").c_str(), "r");
    if (!output) return run;
    char line[512];
    while (std::fgets(line, sizeof line, output)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        run.lines.push_back(text);
    }
    int status = pclose(output);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Whether `wanted` appears in order within `lines`, other lines in between.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    size_t next = 0;
    for (const std::string& line : lines) {
        if (next < wanted.size() && line == wanted[next]) ++next;
    }
    return next == wanted.size();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(App, LifecycleAndInputOnTheRealHost) {
    ProbeRun run = RunProbe("events");
    EXPECT_EQ(run.status, 0) << "the close button ends the program normally";
    EXPECT_TRUE(InOrder(run.lines, {"create 640x480", "hit 65", "hit 37", "char 97", "char 65573",
                                    "resize asked, sees 640", "next update sees 320x240", "suspend", "resume"}))
        << Joined(run.lines);
    for (const std::string& line : run.lines) {
        EXPECT_NE(line, "size changed inside an update");
        EXPECT_NE(line, "loop ended") << "the app ends the process from its event, not the loop";
        EXPECT_NE(line, "no close request arrived");
    }
}

TEST(App, BackKeyEndsTheProgram) {
    ProbeRun run = RunProbe("back");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"opening openal device", "create 640x480"}));
}

}  // namespace
