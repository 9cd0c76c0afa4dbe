#include <cstdlib>

#include "host/audio_decoding.h"
#include "host/kp_game.h"
#include "host/ogg_reader.h"
#include "native/audio/gxtk_audio.h"

namespace {

// Any combination OpenAL has no format for gives 0, which it rejects, so
// the buffer stays empty.
ALenum BufferFormat(int channels, int bytesPerSample) {
    if (channels == 1 && bytesPerSample == 1) return AL_FORMAT_MONO8;
    if (channels == 2 && bytesPerSample == 1) return AL_FORMAT_STEREO8;
    if (channels == 1 && bytesPerSample == 2) return AL_FORMAT_MONO16;
    if (channels == 2 && bytesPerSample == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    gxtkSample* sample = new gxtkSample;
    return LoadSample__UNSAFE__(sample, KpGame::_game->SystemFilePath(path)) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, const std::string& systemPath) {
    DecodedAudio audio = DecodeAudioFile(systemPath);
    if (!audio.samples) return false;
    sample->SetSound(BufferFormat(audio.channels, audio.format), audio.samples,
                     audio.format * audio.channels * audio.length, audio.hertz);
    std::free(audio.samples);
    return true;
}

// An Ogg tune is decoded on a worker and is heard from the first update
// that finds its opening decoded; any other tune is decoded into one buffer
// before it starts.
// A file that holds no tune leaves what plays playing.
int gxtkAudio::PlayMusic(String path, int flags) {
    if (path.ToLower().EndsWith(String(".ogg"))) return StreamMusic(path, flags);
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    StopMusic();
    PlaySample(sample, kMusicChannel, flags);
    return 0;
}

// The headers are checked here, before the worker starts, so a file that
// holds no playable tune, or one damaged anywhere in its headers, is refused
// at once and what played plays on. Decoding them is left to the worker,
// since it takes longer than an update may: should that fail, the tune this
// one replaced goes on from where it was. While the device is away the tune
// is only kept, to start once it is back.
int gxtkAudio::StreamMusic(String path, int flags) {
    FlushDiscarded();
    std::string systemPath = KpGame::_game->SystemFilePath(path);
    FILE* file = systemPath.empty() ? nullptr : std::fopen(systemPath.c_str(), "rb");
    if (!file) return -1;
    bool playable = OggHeadersIntact(file);
    std::fclose(file);
    if (!playable) return -1;
    if (!lost && !channels[kMusicChannel].AL_Source()) return -1;
    int stateBefore = lost ? channels[kMusicChannel].state : ChannelState(kMusicChannel);
    Tune before = tune;
    if (music) before.heardFrame = music->HeardFrame();
    // The old stream goes first: on its way out it stops the shared source.
    StopMusic();
    replaced = before;
    replacedState = stateBefore;
    tune.path = systemPath;
    tune.loop = flags != 0;
    if (!lost && !StartStream(0, tune.loop)) return -1;
    gxtkChannel& record = channels[kMusicChannel];
    record.sample = nullptr;
    record.flags = flags;
    record.state = 1;
    return 0;
}

bool gxtkAudio::StartStream(long long frame, bool loop) {
    FILE* file = std::fopen(tune.path.c_str(), "rb");
    if (!file) return false;
    music.reset();
    music = std::make_unique<gxtkMusicStream>(file, channels[kMusicChannel].AL_Source(), loop, retiredMusic, frame);
    tune.restartsAtTop = tune.loop && !loop;
    return true;
}

// A stopped source still holds its buffer, whatever its channel's state, so
// every stopped source lets go of its buffer before the deletions. The
// music stream's source keeps its queue: it may be waiting for its next
// piece, and it holds none of the discarded buffers.
void gxtkAudio::FlushDiscarded() {
    if (discarded.empty() || lost) return;
    for (gxtkChannel& channel : channels) {
        if (music && &channel == &channels[kMusicChannel]) continue;
        if (channel.source && channel.SourceState() == AL_STOPPED) alSourcei(channel.source, AL_BUFFER, 0);
    }
    std::vector<ALuint> kept;
    for (ALuint buffer : discarded) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    discarded.swap(kept);
}
