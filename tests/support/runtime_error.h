#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

// Runtime errors end the process. In the death test's child the report goes
// to standard error, where the test reads, and closed input ends the error's
// stop prompt at once with status 255. The threadsafe style lets tests run
// this while worker threads exist.
inline void CloseInputAndReportOnStandardError() {
    std::fflush(stdout);
    std::fclose(stdin);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

inline void ExpectRuntimeError(const std::function<void()>& action, const std::string& message) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CloseInputAndReportOnStandardError();
            action();
        },
        ::testing::ExitedWithCode(255), "Brisko Runtime Error : " + message);
}
