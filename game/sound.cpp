#include "game/my_app.h"

namespace {

constexpr int kAudioModeSlot = 5;
constexpr int kEffectVolumeSlot = 6;
constexpr int kMusicVolumeSlot = 7;
constexpr int kEffectsMutedStep = 3;
// Channels 24 to 31 stay free of effects.
constexpr int kEffectSlots = 24;

String EffectFile(int n) {
    String number(n);
    if (n < 10) return String("sfx/00") + number + String(".wav");
    if (n < 100) return String("sfx/0") + number + String(".wav");
    return String("sfx/") + number + String(".wav");
}

float EffectGain(int step) {
    switch (step) {
        case 1: return 0.75f;
        case 2: return 0.4f;
        default: return 1.0f;
    }
}

// Steps outside 0 to 3 leave the volume as it was.
void ApplyMusicVolume(int step) {
    static constexpr float kVolumes[] = {1.0f, 0.7f, 0.4f, 0.0f};
    if (step >= 0 && step <= 3) kp_audio_device->SetMusicVolume(kVolumes[step]);
}

bool EffectsOn(int mode) { return mode == 1 || mode == 2; }

bool TunesOn(int mode) { return mode == 1 || mode == 3; }

}  // namespace

// Numbers outside the bank are ignored: the bank has no room for them.
int c_MyApp::p_LoadSFX(int n) {
    if (n < 0 || n >= m_Sounds.Length()) return 0;
    gc_assign(m_Sounds[n], kp_audio_LoadSound(EffectFile(n)));
    return 0;
}

// Round robin from the slot after the last one used, so a new effect cuts
// off the oldest; the sound's settings are in place before it is heard.
int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(m_Settings[kAudioModeSlot])) return 0;
    if (n < 0 || n >= m_Sounds.Length() || !m_Sounds[n]) return 0;
    int step = m_Settings[kEffectVolumeSlot];
    if (step == kEffectsMutedStep) return 0;
    int slot = (m_SfxNext + 1) % kEffectSlots;
    if (slot < 0) slot = 0;
    m_SfxNext = slot;
    int channel = m_SfxVoice[slot];
    kp_audio_device->StopChannel(channel);
    kp_audio_device->PlaySample(m_Sounds[n]->m_sample, channel, 0);
    kp_audio_device->SetRate(channel, rate);
    kp_audio_device->SetVolume(channel, EffectGain(step) * volume);
    kp_audio_device->SetPan(channel, pan);
    return 0;
}

// The name is remembered even while tunes are off, so "-1" can bring the
// tune back once they are on again.
int c_MyApp::p_PlayTune(String name, int flags) {
    if (kp_VTR_HasMusicStream == 0) return 0;
    if (name == String("-1") && m_LastTune.Length() > 0) name = m_LastTune;
    if (name.Length() == 0) return 0;
    m_LastTune = name;
    if (m_TunePlaying == 1) {
        kp_audio_device->StopMusic();
        m_TunePlaying = 0;
    }
    if (!TunesOn(m_Settings[kAudioModeSlot])) return 0;
    kp_audio_PlayMusic(String("sfx/") + name + String(".ogg"), flags);
    m_TunePlaying = 1;
    ApplyMusicVolume(m_Settings[kMusicVolumeSlot]);
    return 0;
}

int c_MyApp::p_StopTune() {
    kp_audio_device->StopMusic();
    m_TunePlaying = 0;
    return 0;
}
