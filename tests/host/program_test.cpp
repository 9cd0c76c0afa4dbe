#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "../support/exit_leak_check.h"

namespace {

// The real program, started as a player would: it opens its window, runs,
// and ends with status 0 when its window's close button is pressed.
TEST(Program, OpensItsWindowAndClosesOnRequest) {
    pid_t program = fork();
    if (program == 0) {
        LeaveOutExitLeakCheck();
        execl(PROGRAM, PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0) << "the window titled Vantaroo appears";

    int status = 0;
    for (int wait = 0; wait < 100 && waitpid(program, &status, WNOHANG) == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (waitpid(program, &status, WNOHANG) == 0 && !WIFEXITED(status)) {
        kill(program, SIGKILL);
        waitpid(program, &status, 0);
        FAIL() << "the program did not end";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
