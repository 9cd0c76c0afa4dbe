// The check whether OpenAL, started afresh, opens a device: it runs in a new
// run of this test program, whatever the program's other threads are doing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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

// A server socket that takes connections and never answers, as a stuck
// server's does.
class StuckServer {
public:
    explicit StuckServer(const std::string& path) : listener(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening = bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(listener, 16) == 0;
    }
    ~StuckServer() { close(listener); }

    int listener;
    bool listening;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Check runs that still live with `variable` in their environment.
int CheckRunsWith(const std::string& variable) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string process = entry.path();
        if (ReadAll(process + "/cmdline").rfind("vantaroo-device-check", 0) != 0) continue;
        std::string environment = ReadAll(process + "/environ");
        if (environment.find(variable + '\0') != std::string::npos) ++count;
    }
    return count;
}

bool WaitFor(double seconds, const std::function<bool()>& holds) {
    for (Clock::time_point start = Clock::now(); !holds();) {
        if (SecondsSince(start) > seconds) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// However the game ends, a check it started, stuck on the server, ends with
// it rather than hold the server's connection on its own.
TEST_F(DeviceCheck, EndsWithTheGameThatStartedIt) {
    StuckServer stuck(folder.File("stuck"));
    ASSERT_TRUE(stuck.listening);
    setenv("PULSE_SERVER", ("unix:" + folder.File("stuck")).c_str(), 1);
    std::string server = "PULSE_SERVER=unix:" + folder.File("stuck");
    pid_t game = fork();
    if (game == 0) _exit(OpensInAFreshLibrary() ? 0 : 1);
    EXPECT_TRUE(WaitFor(3, [&] { return CheckRunsWith(server) == 1; })) << "no check began";
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    EXPECT_TRUE(WaitFor(1, [&] { return CheckRunsWith(server) == 0; })) << "the check outlived the game";
}

}  // namespace
