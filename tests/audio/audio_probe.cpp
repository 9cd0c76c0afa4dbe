// Plays one sound file through the audio module on whatever device OpenAL
// gives (see ALSOFT_CONF and ALSOFT_DRIVERS), waits for it to end and runs
// the music calls, then ends the program the way it is told ("return" from
// main, the runtime's "quiet" end, or a "fatal" exit), leaving the device
// for the program's end to close, which also completes a recording. With
// "forked" it first forks children that exit at once while the tune plays,
// and fails when one of them does not end.
// Usage: audio_probe <sound file> <volume> [return|quiet|fatal|forked]
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "framework/audio/audio.h"
#include "host/kp_glfw_game.h"
#include "runtime/errors.h"

namespace {

void WaitForChannel(int channel) {
    for (int tries = 0; tries < 500 && kp_audio_device->ChannelState(channel) != 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A forked child has the device's memory but none of its threads.
bool ForkedChildrenEnd() {
    for (int child = 0; child < 50; ++child) {
        pid_t forked = fork();
        if (forked == 0) {
            // The sound library warns, in the child, of the device it
            // leaves open; the parent's own end is what the test reads.
            if (!std::freopen("/dev/null", "w", stderr)) std::exit(4);
            std::exit(0);
        }
        int status = 0;
        bool ended = false;
        for (int tries = 0; tries < 500 && !ended; ++tries) {
            ended = waitpid(forked, &status, WNOHANG) == forked;
            if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!ended) {
            kill(forked, SIGKILL);
            waitpid(forked, &status, 0);
            return false;
        }
    }
    return true;
}

int End(const std::string& how) {
    if (how == "forked") return ForkedChildrenEnd() ? 0 : 3;
    if (how == "quiet") kpError(String());
    if (how == "fatal") std::exit(-1);
    return how == "return" ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) return 2;
    KpGlfwGame host;
    gc_init1();
    gc_add_roots(kp_audio_mark);
    kp_audio_init();
    gc_init2();
    kp_audio_SetAudioDevice(new gxtkAudio);

    String path(argv[1]);
    c_Sound* sound = kp_audio_LoadSound(path);
    kp_audio_SetChannelVolume(0, static_cast<float>(std::atof(argv[2])));
    kp_audio_SetChannelPan(0, 0);
    kp_audio_SetChannelRate(0, 1);
    kp_audio_PlaySound(sound, 0, 0);
    WaitForChannel(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    kp_audio_SetMusicVolume(0);
    kp_audio_PlayMusic(path, 0);
    kp_audio_PauseMusic();
    kp_audio_device->Suspend();
    kp_audio_device->Resume();
    kp_audio_ResumeMusic();
    kp_audio_StopMusic();
    kp_audio_StopChannel(0);
    // A silent tune still sounds, and an Ogg one still decodes, at the end.
    kp_audio_PlayMusic(path, 1);
    kp_audio_device->UpdateMusic();

    kpPrint(String("probe finished"));
    return End(argc == 4 ? argv[3] : "return");
}
