#include "native/audio/device_opener.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "native/audio/worker_threads.h"

namespace {

// A stuck sound server holds a connection for a minute; the check gives up
// well before.
constexpr std::chrono::seconds kCheckLimit(5);

std::atomic<bool> libraryStarted{false};
// The child of a running check, or 0.
std::atomic<pid_t> checkingChild{0};

// Only a driver that needs a server can be waited for.
bool DriversMayWaitForAServer() {
    const char* named = std::getenv("ALSOFT_DRIVERS");
    if (!named || !*named) return true;
    std::string drivers = named;
    return drivers.back() == ',' || drivers.find("pulse") != std::string::npos ||
           drivers.find("jack") != std::string::npos;
}

// Runs in the forked child: only its exit status counts, so what the
// library prints on the way is dropped.
[[noreturn]] void CheckInChild() {
    int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
    }
    signal(SIGALRM, SIG_DFL);
    alarm(static_cast<unsigned>(kCheckLimit.count()) + 1);
    _exit(OpenAnyDevice() ? 0 : 1);
}

bool ChildOpened(pid_t child) {
    checkingChild.store(child);
    int status = 0;
    pid_t ended = 0;
    for (auto end = std::chrono::steady_clock::now() + kCheckLimit; ended == 0;) {
        ended = waitpid(child, &status, WNOHANG);
        if (ended == 0 && std::chrono::steady_clock::now() >= end) {
            kill(child, SIGKILL);
            ended = waitpid(child, &status, 0);
            status = -1;
        } else if (ended == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    checkingChild.store(0);
    return ended == child && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Without a child to check in, the game's own library tries.
bool OpensInAFreshLibrary() {
    pid_t child = fork();
    if (child == 0) CheckInChild();
    return child < 0 || ChildOpened(child);
}

ALCdevice* OpenDevice(bool checkFirst) {
    if (!libraryStarted.load() && checkFirst && !OpensInAFreshLibrary()) return nullptr;
    libraryStarted.store(true);
    return OpenAnyDevice();
}

}  // namespace

ALCdevice* OpenAnyDevice() {
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (!opened) opened = alcOpenDevice("Generic Hardware");
    if (!opened) opened = alcOpenDevice("Generic Software");
    return opened;
}

struct gxtkDeviceOpener::Attempt {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    ALCdevice* device = nullptr;
};

void gxtkDeviceOpener::Start() {
    auto started = std::make_shared<Attempt>();
    bool checkFirst = DriversMayWaitForAServer();
    try {
        RunOnWorkerThread([started, checkFirst] {
            ALCdevice* device = OpenDevice(checkFirst);
            std::lock_guard<std::mutex> lock(started->mutex);
            started->device = device;
            started->done = true;
            started->finished.notify_all();
        });
    } catch (const std::system_error&) {
        started->done = true;
    }
    attempt = started;
}

bool gxtkDeviceOpener::Wait(std::chrono::milliseconds limit) {
    if (!attempt) return false;
    std::unique_lock<std::mutex> lock(attempt->mutex);
    return attempt->finished.wait_for(lock, limit, [this] { return attempt->done; });
}

ALCdevice* gxtkDeviceOpener::Take() {
    if (!Wait(std::chrono::milliseconds(0))) return nullptr;
    ALCdevice* device = attempt->device;
    attempt.reset();
    return device;
}

void gxtkDeviceOpener::Abandon() {
    if (pid_t child = checkingChild.load()) kill(child, SIGKILL);
    attempt.reset();
}

bool gxtkDeviceOpener::LibraryStarted() { return libraryStarted.load(); }
