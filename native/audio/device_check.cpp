#include "native/audio/device_check.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/spawn.h"
#include "native/audio/device_opener.h"

extern char** environ;

namespace {

// Set to the game's process number in the environment of a check's run,
// whose standard output is the answer pipe.
constexpr char kCheckVariable[] = "VANTAROO_DEVICE_CHECK";
// A stuck sound server holds a connection for a minute; the check gives up
// well before.
constexpr std::chrono::seconds kCheckLimit(5);

// The child of a running check, or 0.
std::atomic<pid_t> checkingChild{0};

// A check's run first says it is there, then yes or no.
constexpr char kSaysThere = 2;
constexpr char kSaysYes = 1;
constexpr char kSaysNo = 0;

// It ends with the game, however the game ends, rather than hold a stuck
// server's connection on its own.
[[noreturn]] void AnswerCheck(pid_t game) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != game) _exit(1);
    alarm(static_cast<unsigned>(kCheckLimit.count()) + 1);
    if (write(STDOUT_FILENO, &kSaysThere, 1) != 1) _exit(1);
    const char said = OpenAnyDevice() ? kSaysYes : kSaysNo;
    _exit(write(STDOUT_FILENO, &said, 1) == 1 ? 0 : 1);
}

// Runs as the program is loaded, before its main.
[[maybe_unused]] const bool kIsCheckRun = [] {
    if (const char* game = std::getenv(kCheckVariable)) AnswerCheck(std::atoi(game));
    return false;
}();

// The answer comes through a pipe, not the exit status: a launcher that
// left SIGCHLD ignored would take the status away. No answer within the
// time means the run is stuck on the server. A run that ends without
// saying it is there could not make the check at all: started through the
// dynamic loader, the program's own link names the loader.
enum class Answer { kYes, kNo, kNone, kUnable };

Answer AnswerOf(int answer) {
    pollfd waiting{answer, POLLIN, 0};
    auto end = std::chrono::steady_clock::now() + kCheckLimit;
    bool there = false;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        int ready = poll(&waiting, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return Answer::kNone;
        char said = kSaysNo;
        ssize_t count = read(answer, &said, 1);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return there ? Answer::kNo : Answer::kUnable;
        if (said != kSaysThere) return said == kSaysYes ? Answer::kYes : Answer::kNo;
        there = true;
    }
}

// A run that answered ends by itself; a stuck one is ended.
void EndCheck(pid_t child, Answer answer) {
    checkingChild.store(0);
    if (answer == Answer::kNone) kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// The game's environment with the check's `mark` added.
std::vector<char*> CheckEnvironment(std::string& mark) {
    std::vector<char*> environment;
    for (char** variable = environ; *variable; ++variable) environment.push_back(*variable);
    environment.push_back(mark.data());
    environment.push_back(nullptr);
    return environment;
}

// Starts the check's run with its output into `answer` and what the library
// prints on the way dropped; 0 or the error that kept it from starting.
int StartCheck(pid_t* child, int answer) {
    posix_spawn_file_actions_t actions;
    if (int failed = posix_spawn_file_actions_init(&actions)) return failed;
    posix_spawn_file_actions_adddup2(&actions, answer, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char name[] = "vantaroo-device-check";
    char* arguments[] = {name, nullptr};
    std::string mark = std::string(kCheckVariable) + "=" + std::to_string(getpid());
    std::vector<char*> environment = CheckEnvironment(mark);
    int failed = SpawnWithDefaultSignals(child, "/proc/self/exe", arguments, environment.data(), &actions);
    posix_spawn_file_actions_destroy(&actions);
    return failed;
}

}  // namespace

// A check that cannot be made for now (no process or memory to spare) is a
// no for now, not a yes: the game's own library started before a server
// answers would never use one. Where the check cannot be made at all, the
// game's own library tries.
bool OpensInAFreshLibrary() {
    int answer[2];
    if (pipe2(answer, O_CLOEXEC) != 0) return false;
    pid_t child = 0;
    int failed = StartCheck(&child, answer[1]);
    close(answer[1]);
    if (failed) {
        close(answer[0]);
        return failed != EAGAIN && failed != ENOMEM;
    }
    checkingChild.store(child);
    Answer said = AnswerOf(answer[0]);
    EndCheck(child, said);
    close(answer[0]);
    return said == Answer::kYes || said == Answer::kUnable;
}

void EndRunningCheck() {
    if (pid_t child = checkingChild.load()) kill(child, SIGKILL);
}
