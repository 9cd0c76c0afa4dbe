#pragma once

#include "native/audio/gxtk_audio.h"

// A loaded sound; it keeps its sample, and so the sample's buffer, alive.
class c_Sound : public Object {
public:
    gxtkSample* m_sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);
    void mark() override;
};

// The device every call goes to; a collector root.
extern gxtkAudio* kp_audio_device;

void kp_audio_init();
void kp_audio_mark();

int kp_audio_SetAudioDevice(gxtkAudio* device);
c_Sound* kp_audio_LoadSound(String path);
int kp_audio_PlaySound(c_Sound* sound, int channel, int flags);
int kp_audio_StopChannel(int channel);
int kp_audio_SetChannelVolume(int channel, float volume);
int kp_audio_SetChannelPan(int channel, float pan);
int kp_audio_SetChannelRate(int channel, float rate);
int kp_audio_PlayMusic(String path, int flags);
int kp_audio_StopMusic();
int kp_audio_PauseMusic();
int kp_audio_ResumeMusic();
int kp_audio_SetMusicVolume(float volume);
