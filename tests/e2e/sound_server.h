#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/temp_folder.h"

namespace e2e {

// A desktop's sound server in a runtime folder of its own, with two outputs,
// "speakers" (the default) and "headphones": PulseAudio, or PipeWire with
// wireplumber and pipewire-pulse under a session bus of its own. This test
// process and every program it starts talk to it.
class SoundServer {
public:
    enum class Kind { kPulseAudio, kPipeWire };

    explicit SoundServer(Kind kind);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts it with both outputs; false when it does not answer in time.
    bool Start();
    // Ends it at once, as a crash does.
    void Kill();
    // Stops it where it is: it takes connections and answers nothing.
    void Freeze();
    // In the server's place, a socket that takes connections and never
    // answers, as a socket-activated server whose daemon is stuck.
    void StartStuck();

    // pactl's exit status for `arguments`; what it prints goes to `output`.
    int Pactl(const std::string& arguments, std::string* output = nullptr) const;
    // Moves stream `number` to `output` as a desktop's sound settings do,
    // through a client of the sound library that first looks the stream
    // up. True when the server accepts the move; else `error` says why.
    bool MoveStream(int number, const std::string& output, std::string* error) const;
    // The output the first program's stream plays on, "" when none plays.
    std::string StreamOutput() const;
    // The number of the first program's stream, -1 when there is none.
    int StreamNumber() const;
    // What `output` plays for `seconds`, as mono 16-bit samples.
    std::vector<std::int16_t> Record(const std::string& output, double seconds) const;
    // Makes an output (a null sink) and returns its module number, -1 on failure.
    int AddOutput(const std::string& name);

    // The module of each output, to remove one.
    int speakersModule = -1;
    int headphonesModule = -1;

private:
    bool Answers() const;
    void EndStuck();

    Kind kind;
    TempFolder folder;
    pid_t server = 0;
    pid_t stuck = 0;
};

// The loudest sample of a recording.
int Loudest(const std::vector<std::int16_t>& samples);

}  // namespace e2e
