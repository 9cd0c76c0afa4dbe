// Plays one sound file through the audio module on whatever device OpenAL
// gives (see ALSOFT_CONF and ALSOFT_DRIVERS), waits for it to end and runs
// the music calls, then closes the device so a recording is complete.
// Usage: audio_probe <sound file> <volume>
#include <chrono>
#include <cstdlib>
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

void CloseDevice() {
    if (!kp_audio_device->device) return;
    alcMakeContextCurrent(nullptr);
    if (kp_audio_device->context) alcDestroyContext(kp_audio_device->context);
    alcCloseDevice(kp_audio_device->device);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
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

    CloseDevice();
    kpPrint(String("probe finished"));
    return 0;
}
