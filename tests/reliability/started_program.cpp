#include "tests/reliability/started_program.h"

#include <linux/capability.h>
#include <sched.h>
#include <sys/prctl.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace reliability {
namespace {

[[noreturn]] void Exec(const Launch& launch) {
    for (const std::string& setting : launch.environment) {
        std::size_t equals = setting.find('=');
        if (equals == std::string::npos) _exit(124);
        setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    LeaveOutExitLeakCheck();
    if (chdir(launch.folder.c_str()) != 0) _exit(126);
    if (!std::freopen(launch.output.c_str(), "w", stdout)) _exit(125);
    // Dropped from the bounding set, the power is gone from the program the
    // exec starts; for anybody but root there is nothing to drop.
    if (launch.withoutRootsWritePower && geteuid() == 0 && prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) != 0) _exit(123);
    execl(launch.program.c_str(), launch.program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

}  // namespace

// The child makes the namespace and starts the program as its first
// process, tells its pid here, and ends as the program does, so waiting for
// the child waits until the program is gone.
void StartedProgram::StartInPidNamespace(const Launch& launch) {
    int told[2];
    pidNamespaceRefused = pipe(told) != 0;
    if (pidNamespaceRefused) return;
    pid = fork();
    if (pid == 0) {
        close(told[0]);
        pid_t started = unshare(CLONE_NEWPID) == 0 ? fork() : -1;
        if (started == 0) Exec(launch);
        bool written = write(told[1], &started, sizeof started) == sizeof started;
        int status = 0;
        if (!written || started < 0 || waitpid(started, &status, 0) != started) _exit(122);
        if (WIFSIGNALED(status)) kill(getpid(), WTERMSIG(status));
        _exit(WEXITSTATUS(status));
    }
    close(told[1]);
    if (read(told[0], &program, sizeof program) != sizeof program) program = -1;
    close(told[0]);
    pidNamespaceRefused = program < 0;
}

StartedProgram::StartedProgram(const Launch& launch) : output(launch.output) {
    e2e::KeepDisplayOpen();
    if (launch.ownPidNamespace) {
        StartInPidNamespace(launch);
        return;
    }
    pid = program = fork();
    if (pid == 0) Exec(launch);
}

StartedProgram::~StartedProgram() { Kill(); }

int StartedProgram::ExitStatus(double seconds) {
    if (pid <= 0) return -1;
    int status = 0;
    bool ended = e2e::WaitFor(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) return -1;
    pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void StartedProgram::Kill() {
    if (pid <= 0) return;
    kill(program > 0 ? program : pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

std::string StartedProgram::Output() const {
    std::ifstream in(output, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each descriptor's flags are in octal on the "flags:" line of its fdinfo.
bool StartedProgram::WritesInto(const std::string& path) const {
    const std::string process = "/proc/" + std::to_string(program);
    std::error_code gone;
    for (const auto& entry : std::filesystem::directory_iterator(process + "/fd", gone)) {
        if (std::filesystem::read_symlink(entry.path(), gone) != path) continue;
        std::ifstream info(process + "/fdinfo/" + entry.path().filename().string());
        std::string field;
        int flags = 0;
        while (info >> field && field != "flags:") {
        }
        if (info >> std::oct >> flags && (flags & O_ACCMODE) == O_WRONLY) return true;
    }
    return false;
}

std::string FirstRunState() {
    std::string state = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|";
    for (int word = 0; word < 9; ++word) state += "0|";
    for (int field = 0; field < 8 * 21; ++field) state += "0|";
    return state;
}

// The sanitizer's runtime insists on coming first among the libraries unless
// told otherwise.
std::vector<std::string> SlowSaves(const std::string& log, int milliseconds) {
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string options = std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0";
    return {"LD_PRELOAD=" SLOW_SAVE, "SLOW_SAVE_LOG=" + log, "SLOW_SAVE_MILLISECONDS=" + std::to_string(milliseconds),
            "ASAN_OPTIONS=" + options};
}

e2e::Frame Shot(const std::string& name) { return e2e::Frame(RealProgram::Shot("fault-" + name + ".png")); }

e2e::Frame ShotWhen(const std::string& name, double seconds, const std::function<bool(const e2e::Frame&)>& test) {
    e2e::Frame frame;
    e2e::WaitFor(seconds, [&] {
        frame = Shot(name);
        return !frame.Empty() && test(frame);
    });
    return frame;
}

bool LeaveUntil(double seconds, const std::function<bool()>& done) {
    bool happened;
    {
        e2e::OtherWindow other;
        happened = e2e::WaitFor(seconds, done);
    }
    RealProgram::Send("");
    return happened;
}

int End(StartedProgram& program, Ending ending) {
    int asked = ending == Ending::kF4 ? e2e::Press("F4") : std::system(SEND_CLOSE_REQUEST " Vantaroo");
    if (asked != 0) return -2;
    return program.ExitStatus();
}

}  // namespace reliability
