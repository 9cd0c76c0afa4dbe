#pragma once

#include <AL/alc.h>

#include <memory>
#include <string>
#include <vector>

#include "native/audio/gxtk_channel.h"
#include "native/audio/gxtk_music_stream.h"
#include "runtime/kp_string.h"

// The OpenAL output device: 32 effect channels (0 to 31) and the music
// channel 32. Without a device or context every operation is harmless and
// the game runs silently.
class gxtkAudio : public Object {
public:
    static constexpr int kChannelCount = 33;
    static constexpr int kMusicChannel = 32;

    // The one device, so that channels can reach their siblings.
    static gxtkAudio* audio;

    ALCdevice* device;
    ALCcontext* context;
    gxtkChannel channels[kChannelCount];
    // Buffers of tunes that are gone, deleted a few at every update. It is
    // declared before the tune, whose stream adds to it on its way out.
    std::vector<ALuint> retiredMusic;
    // The Ogg tune on the music channel, while it has one.
    std::unique_ptr<gxtkMusicStream> music;

    gxtkAudio();
    ~gxtkAudio() override;

    // Stops the tune's worker, deletes the retired buffers and closes the
    // context and the device; the device is silent from then on. The one
    // device is also closed this way when the program ends.
    void Close();

    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample* LoadSample(String path);
    // For a loader thread: the path is resolved on the caller's thread
    // beforehand, since resolving it touches the host's Strings.
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, const std::string& systemPath);
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    void mark() override;

    // Called every update: queues the next decoded piece of the tune, keeps
    // the tune sounding and deletes some of the buffers of tunes gone by.
    void UpdateMusic();

    // Deletes the discarded buffers that no source holds any more.
    void FlushDiscarded();

    // Moves the source of the first effect channel found stopped to the
    // caller; 0 when every effect channel with a source is busy.
    ALuint TakeStoppedSource();

private:
    void OpenDevice();
    int StreamMusic(String path, int flags);
    // Whether a playing channel's sound has come to its end.
    bool HasEnded(int channel);
    // A playing channel whose sound has ended.
    void NoteEnded(int channel);
    void DeleteSomeRetiredMusic();
    // The channel record, or null for a number outside 0 to 32.
    gxtkChannel* Channel(int channel);
    // The channel's source, or 0 when the number is bad or no source is left.
    ALuint SourceOf(int channel);
};
