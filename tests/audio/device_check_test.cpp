// The check whether OpenAL, started afresh, opens a device: it runs in a new
// run of this test program, whatever the program's other threads are doing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "native/audio/device_check.h"
#include "tests/host/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Threads that take and give back memory of many sizes without a pause, as
// the game's main thread and its renderer's do while a check starts.
class BusyThreads {
public:
    BusyThreads() {
        for (int index = 0; index < 2; ++index) threads.emplace_back([this, index] { Churn(index); });
    }
    ~BusyThreads() {
        stop = true;
        for (std::thread& thread : threads) thread.join();
    }

private:
    void Churn(int seed) {
        std::vector<void*> held(64, nullptr);
        for (unsigned step = seed; !stop; ++step) {
            void*& slot = held[step % held.size()];
            std::free(slot);
            slot = std::malloc(16 + (step * 37) % 4096);
        }
        for (void* block : held) std::free(block);
    }

    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

// No server answers the only driver named: the fresh library opens nothing.
class DeviceCheck : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "pulse", 1);
        setenv("PULSE_SERVER", ("unix:" + folder.File("no-server")).c_str(), 1);
    }
    void TearDown() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        unsetenv("PULSE_SERVER");
    }

    TempFolder folder;
};

TEST_F(DeviceCheck, SaysNoWhenTheFreshLibraryOpensNothingAndYesWhenItOpens) {
    EXPECT_FALSE(OpensInAFreshLibrary());
    setenv("ALSOFT_DRIVERS", "null", 1);
    EXPECT_TRUE(OpensInAFreshLibrary());
}

// A check never inherits a lock a busy thread held as it began: the library
// starting its threads would wait for it for good. Every check answers, and
// at once.
TEST_F(DeviceCheck, AnswersAtOnceWhileOtherThreadsAreBusy) {
    BusyThreads busy;
    for (int check = 0; check < 30; ++check) {
        Clock::time_point started = Clock::now();
        EXPECT_FALSE(OpensInAFreshLibrary());
        ASSERT_LT(SecondsSince(started), 3) << "check " << check;
    }
}

}  // namespace
