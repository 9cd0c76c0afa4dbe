#pragma once

#include <AL/alc.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "native/audio/device_opener.h"
#include "native/audio/gxtk_channel.h"
#include "native/audio/gxtk_music_stream.h"
#include "runtime/kp_string.h"

// The OpenAL output device: 32 effect channels (0 to 31) and the music
// channel 32. Without a device or context every operation is harmless and
// the game runs silently. A device that could not be opened at the start, or
// was lost with the sound server, is tried again while the game runs, and
// what the game has playing is heard once there is one. No OpenAL call is
// made without a device: one made while the library starts on the opener's
// thread would wait for it.
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

    // Called every update: watches the device, queues the next decoded
    // piece of the tune, keeps the tune sounding and deletes some of the
    // buffers of tunes gone by.
    void UpdateMusic();

    // True while there is no device: from the start until one could be
    // opened, and from the update that finds it disconnected until one is
    // opened again.
    bool Lost() const { return lost; }

    // Deletes the discarded buffers that no source holds any more.
    void FlushDiscarded();

    // Moves the source of the first effect channel found stopped to the
    // caller; 0 when every effect channel with a source is busy.
    ALuint TakeStoppedSource();

private:
    // The streamed tune, kept to start it again on a new device.
    struct Tune {
        std::string path;  // in the system's bytes; "" for none
        bool loop = false;
        // A looping tune started part-way goes on from the top at its end.
        bool restartsAtTop = false;
        long long heardFrame = 0;
    };

    void OpenFirstDevice();
    // The finished attempt's device, or null.
    ALCdevice* TakeAttempt();
    // Makes a context on the device current; false, with the device
    // closed, when that fails. `report` prints why.
    bool Adopt(ALCdevice* opened, bool report);
    int StreamMusic(String path, int flags);
    // Streams the tune from `frame`; false when its file cannot be opened.
    bool StartStream(long long frame, bool loop);
    void ForgetMusic();
    bool MusicEnded();
    // Starts again the tune a refused one replaced; false when there was none.
    bool FallBack();
    // Puts the sample on the channel's source, and starts it with `play`.
    void StartSample(gxtkChannel& record, gxtkSample* sample, int flags, bool play = true);

    // The outage of the sound server.
    void WatchDevice();
    bool Connected() const;
    void LoseDevice();
    void TryReopen();
    void Restore();
    void RestoreChannel(gxtkChannel& record);
    void RestoreTune();

    // Whether a playing channel's sound has come to its end.
    bool HasEnded(int channel);
    // A playing channel whose sound has ended.
    void NoteEnded(int channel);
    void DeleteSomeRetiredMusic();
    // The channel record, or null for a number outside 0 to 32.
    gxtkChannel* Channel(int channel);
    // The channel's source, or 0 when the number is bad or no source is left.
    ALuint SourceOf(int channel);

    Tune tune;
    // The tune the current one replaced, and its channel state, until the
    // current one's headers are known to decode.
    Tune replaced;
    int replacedState = 0;
    bool lost = false;
    // A device being opened off the main thread while there is none.
    gxtkDeviceOpener opener;
    std::chrono::steady_clock::time_point nextReopen;
    std::chrono::milliseconds reopenPause{0};
};
