#include "native/audio/device_opener.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
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

// Runs in the forked child, which says "yes" by writing a byte; an end
// without one, for whatever reason, is a no. What the library prints on the
// way is dropped.
[[noreturn]] void CheckInChild(int answer) {
    int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
    }
    signal(SIGALRM, SIG_DFL);
    alarm(static_cast<unsigned>(kCheckLimit.count()) + 1);
    const char yes = 1;
    if (OpenAnyDevice() && write(answer, &yes, 1) != 1) _exit(1);
    _exit(0);
}

enum class Answer { kYes, kNo, kNone };

// The answer comes through a pipe, not the exit status: a launcher that
// left SIGCHLD ignored would take the status away. No answer within the
// time means the child is stuck on the server.
Answer AnswerOf(int answer) {
    pollfd waiting{answer, POLLIN, 0};
    int ready = 0;
    auto end = std::chrono::steady_clock::now() + kCheckLimit;
    do {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        ready = poll(&waiting, 1, static_cast<int>(std::max<long long>(0, left.count())));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return Answer::kNone;
    char yes = 0;
    return read(answer, &yes, 1) == 1 && yes == 1 ? Answer::kYes : Answer::kNo;
}

// A child that answered ends by itself; a stuck one is ended.
void EndCheck(pid_t child, Answer answer) {
    checkingChild.store(0);
    if (answer == Answer::kNone) kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// A check that cannot be made for now (no process or memory to spare) is a
// no for now, not a yes: the game's own library started before a server
// answers would never use one. Where no process may ever be made, the
// game's own library tries without a check.
bool OpensInAFreshLibrary() {
    int answer[2];
    if (pipe2(answer, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child == 0) {
        close(answer[0]);
        CheckInChild(answer[1]);
    }
    int forkError = errno;
    close(answer[1]);
    if (child < 0) {
        close(answer[0]);
        return forkError != EAGAIN && forkError != ENOMEM;
    }
    checkingChild.store(child);
    Answer said = AnswerOf(answer[0]);
    EndCheck(child, said);
    close(answer[0]);
    return said == Answer::kYes;
}

gxtkDeviceOpener::Result OpenDevice(bool checkFirst) {
    gxtkDeviceOpener::Result result;
    bool checked = !libraryStarted.load() && checkFirst;
    if (checked && !OpensInAFreshLibrary()) return result;
    libraryStarted.store(true);
    result.device = OpenAnyDevice();
    result.serverGoneAsItStarted = checked && !result.device;
    return result;
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
    Result result;
};

void gxtkDeviceOpener::Start() {
    auto started = std::make_shared<Attempt>();
    bool checkFirst = DriversMayWaitForAServer();
    try {
        RunOnWorkerThread([started, checkFirst] {
            Result result = OpenDevice(checkFirst);
            std::lock_guard<std::mutex> lock(started->mutex);
            started->result = result;
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

gxtkDeviceOpener::Result gxtkDeviceOpener::Take() {
    if (!Wait(std::chrono::milliseconds(0))) return Result();
    Result result = attempt->result;
    attempt.reset();
    return result;
}

void gxtkDeviceOpener::Abandon() {
    if (pid_t child = checkingChild.load()) kill(child, SIGKILL);
    attempt.reset();
}

bool gxtkDeviceOpener::LibraryStarted() { return libraryStarted.load(); }
