#include "tests/e2e/sound_server.h"

#include <fcntl.h>
#include <pulse/pulseaudio.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Runs `command` through the shell in a process group of its own, so all
// of it ends together; what it prints goes to `log`.
pid_t Spawn(const std::string& command, const std::string& log) {
    pid_t child = fork();
    if (child == 0) {
        setsid();
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

void EndGroup(pid_t* group) {
    if (*group <= 0) return;
    killpg(*group, SIGKILL);
    waitpid(*group, nullptr, 0);
    *group = 0;
}

std::string Run(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *status = -1;
        return output;
    }
    char chunk[512];
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, got);
    int ended = pclose(pipe);
    *status = WIFEXITED(ended) ? WEXITSTATUS(ended) : -1;
    return output;
}

// Takes every connection and holds it without a word, until killed.
[[noreturn]] void HoldConnections(const std::string& path) {
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    unlink(path.c_str());
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 64) != 0) {
        _exit(1);
    }
    for (;;) accept(listener, nullptr, nullptr);
}

// Runs `mainloop` until `done` holds or the library's context fails.
template <typename Done>
bool RunUntil(pa_mainloop* mainloop, pa_context* context, Done done) {
    while (!done()) {
        pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) return false;
        if (pa_mainloop_iterate(mainloop, 1, nullptr) < 0) return false;
    }
    return true;
}

struct MoveAnswer {
    bool answered = false;
    bool accepted = false;
};

void NoteAnswer(pa_context*, int success, void* answer) {
    auto* move = static_cast<MoveAnswer*>(answer);
    move->answered = true;
    move->accepted = success != 0;
}

void NoteStreamSeen(pa_context*, const pa_sink_input_info*, int last, void* seen) {
    if (last) *static_cast<bool*>(seen) = true;
}

}  // namespace

SoundServer::SoundServer(Kind kind) : kind(kind) {
    setenv("XDG_RUNTIME_DIR", folder.path.c_str(), 1);
    setenv("PULSE_RUNTIME_PATH", folder.File("pulse").c_str(), 1);
    setenv("HOME", folder.path.c_str(), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    chmod(folder.path.c_str(), 0700);
}

SoundServer::~SoundServer() {
    Kill();
    EndStuck();
}

bool SoundServer::Start() {
    EndStuck();
    std::string command = kind == Kind::kPulseAudio
                              ? "exec pulseaudio -n -L 'module-native-protocol-unix auth-anonymous=1' "
                                "--exit-idle-time=-1 --daemonize=no"
                              : "exec dbus-run-session -- sh -c 'pipewire & sleep 0.2; wireplumber & pipewire-pulse & wait'";
    server = Spawn(command, folder.File("server.log"));
    auto end = Clock::now() + std::chrono::seconds(20);
    while (!Answers()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    speakersModule = AddOutput("speakers");
    headphonesModule = AddOutput("headphones");
    return speakersModule >= 0 && headphonesModule >= 0 && Pactl("set-default-sink speakers") == 0;
}

void SoundServer::Kill() { EndGroup(&server); }

void SoundServer::Freeze() {
    if (server > 0) killpg(server, SIGSTOP);
}

void SoundServer::StartStuck() {
    Kill();
    std::string socket = folder.File("pulse/native");
    mkdir(folder.File("pulse").c_str(), 0700);
    stuck = fork();
    if (stuck == 0) HoldConnections(socket);
    for (auto end = Clock::now() + std::chrono::seconds(5); access(socket.c_str(), F_OK) != 0 && Clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SoundServer::EndStuck() {
    if (stuck <= 0) return;
    kill(stuck, SIGKILL);
    waitpid(stuck, nullptr, 0);
    stuck = 0;
    unlink(folder.File("pulse/native").c_str());
}

bool SoundServer::Answers() const { return Pactl("info") == 0; }

int SoundServer::Pactl(const std::string& arguments, std::string* output) const {
    int status = 0;
    std::string printed = Run("timeout 10 pactl " + arguments + " 2>&1", &status);
    if (output) *output = printed;
    return status;
}

// A sink appears a moment after its module is loaded.
int SoundServer::AddOutput(const std::string& name) {
    std::string printed;
    if (Pactl("load-module module-null-sink sink_name=" + name, &printed) != 0) return -1;
    std::string sinks;
    for (auto end = Clock::now() + std::chrono::seconds(5); Clock::now() < end;) {
        Pactl("list short sinks", &sinks);
        if (sinks.find("\t" + name + "\t") != std::string::npos) return std::atoi(printed.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

// A move as the desktop's sound settings make it: the stream looked up
// first, then moved through the sound library.
bool SoundServer::MoveStream(int number, const std::string& output, std::string* error) const {
    pa_mainloop* mainloop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(mainloop), "sound settings");
    bool seen = false;
    MoveAnswer answer;
    bool ran = pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
               RunUntil(mainloop, context, [&] { return pa_context_get_state(context) == PA_CONTEXT_READY; });
    if (ran) {
        pa_operation_unref(pa_context_get_sink_input_info(context, number, NoteStreamSeen, &seen));
        ran = RunUntil(mainloop, context, [&] { return seen; });
    }
    if (ran) {
        pa_operation_unref(
            pa_context_move_sink_input_by_name(context, number, output.c_str(), NoteAnswer, &answer));
        ran = RunUntil(mainloop, context, [&] { return answer.answered; });
    }
    *error = answer.accepted ? "" : pa_strerror(pa_context_errno(context));
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(mainloop);
    return ran && answer.accepted;
}

// `pactl list short sink-inputs`: the stream's number, then its sink's.
int SoundServer::StreamNumber() const {
    std::string streams;
    if (Pactl("list short sink-inputs", &streams) != 0 || streams.empty()) return -1;
    return std::atoi(streams.c_str());
}

std::string SoundServer::StreamOutput() const {
    std::string streams, sinks;
    if (Pactl("list short sink-inputs", &streams) != 0 || streams.empty()) return "";
    std::istringstream stream(streams);
    int number = -1, sink = -1;
    stream >> number >> sink;
    Pactl("list short sinks", &sinks);
    std::istringstream lines(sinks);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        int index = -1;
        std::string name;
        if (fields >> index >> name && index == sink) return name;
    }
    return "";
}

std::vector<std::int16_t> SoundServer::Record(const std::string& output, double seconds) const {
    int status = 0;
    std::string bytes = Run("timeout -s INT " + std::to_string(seconds) + " parec -d " + output +
                                ".monitor --latency-msec=20 --raw --format=s16le --channels=1 --rate=44100 2>/dev/null",
                            &status);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

int Loudest(const std::vector<std::int16_t>& samples) {
    int loudest = 0;
    for (std::int16_t sample : samples) loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    return loudest;
}

}  // namespace e2e
