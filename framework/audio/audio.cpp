#include "framework/audio/audio.h"

#include "host/data_path.h"

gxtkAudio* kp_audio_device;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

void c_Sound::mark() { gc_mark(m_sample); }

void kp_audio_init() { kp_audio_device = nullptr; }

void kp_audio_mark() { gc_mark(kp_audio_device); }

int kp_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(kp_audio_device, device);
    return 0;
}

c_Sound* kp_audio_LoadSound(String path) {
    gxtkSample* sample = kp_audio_device->LoadSample(kp_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound)->m_new(sample);
}

// The device's result is not passed on: a sound that found no source is
// simply not heard.
int kp_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) kp_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int kp_audio_StopChannel(int channel) {
    kp_audio_device->StopChannel(channel);
    return 0;
}

int kp_audio_SetChannelVolume(int channel, float volume) {
    kp_audio_device->SetVolume(channel, volume);
    return 0;
}

int kp_audio_SetChannelPan(int channel, float pan) {
    kp_audio_device->SetPan(channel, pan);
    return 0;
}

int kp_audio_SetChannelRate(int channel, float rate) {
    kp_audio_device->SetRate(channel, rate);
    return 0;
}

int kp_audio_PlayMusic(String path, int flags) { return kp_audio_device->PlayMusic(kp_data_FixDataPath(path), flags); }

int kp_audio_StopMusic() {
    kp_audio_device->StopMusic();
    return 0;
}

int kp_audio_PauseMusic() {
    kp_audio_device->PauseMusic();
    return 0;
}

int kp_audio_ResumeMusic() {
    kp_audio_device->ResumeMusic();
    return 0;
}

int kp_audio_SetMusicVolume(float volume) {
    kp_audio_device->SetMusicVolume(volume);
    return 0;
}
