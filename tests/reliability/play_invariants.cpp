#include "tests/reliability/play_invariants.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "framework/audio/audio.h"
#include "game/my_app.h"

namespace {

constexpr int kMostFailuresShown = 10;
constexpr long kSaveCheckEvery = 1000;
constexpr int kAudioModeSlot = 5;

// The game's loading of a state prints what it found; the check's own
// loads keep quiet.
class QuietOutput {
public:
    QuietOutput() {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        FILE* nowhere = std::fopen("/dev/null", "w");
        if (nowhere) {
            dup2(fileno(nowhere), STDOUT_FILENO);
            std::fclose(nowhere);
        }
    }
    ~QuietOutput() {
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    int saved;
};

// The time the sound device has mixed. A mixer that falls behind catches up
// in a burst, so by the wall clock a tune may end sooner than its length;
// it never ends before the device has mixed that long.
double MixedSeconds() {
    ALCcontext* context = alcGetCurrentContext();
    ALCdevice* device = context ? alcGetContextsDevice(context) : nullptr;
    ALCint64SOFT nanoseconds = 0;
    if (device) alcGetInteger64vSOFT(device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return static_cast<double>(nanoseconds) / 1e9;
}

void ValidateCollector() {
    gc_validate_list(&gc_unmarked_list, "unmarked");
    gc_validate_list(&gc_queued_list, "queued");
    gc_validate_list(&gc_marked_list, "marked");
    gc_validate_list(&gc_free_list, "free");
}

}  // namespace

void PlayInvariants::Check(long update) {
    ValidateCollector();
    if (!CursorInRange()) Fail(update, "the menu cursor is at " + std::to_string(app.m_MenuCursor));
    if (!YoungTunePlays()) Fail(update, "the tune the game started has fallen silent");
    bool saved = host.saves != savesSeen;
    if ((saved || (update + 1) % kSaveCheckEvery == 0) && !SavedStateLoadsBack()) {
        Fail(update, "the saved state loads back as another state");
    }
    savesSeen = host.saves;
}

void PlayInvariants::Fail(long update, const std::string& what) {
    if (++failures <= kMostFailuresShown) std::printf("FAILED at update %ld: %s\n", update + 1, what.c_str());
}

bool PlayInvariants::CursorInRange() const {
    int lowest = kp_VTR_isOuya == 1 ? -1 : 0;
    return app.m_MenuCursor >= lowest && app.m_MenuCursor <= 2;
}

// While the game has started a tune, tunes are on and it is not paused, the
// tune plays as the device mixes (muted tunes too, at volume 0). Until the
// device has mixed most of its length it cannot have ended, so the device
// must still count it as playing (or paused, for the update that resumes
// it). A new device starts its clock again; its first interval counts as
// nothing.
bool PlayInvariants::YoungTunePlays() {
    double mixed = MixedSeconds();
    double seconds = std::max(0.0, mixed - lastMixed);
    lastMixed = mixed;
    if (tunesOpened != tunesSeen) {
        tunesSeen = tunesOpened;
        tunePlayedSeconds = 0;
    }
    int mode = app.m_Settings[kAudioModeSlot];
    bool tunesOn = mode == 1 || mode == 3;
    if (kp_VTR_HasMusicStream != 1 || app.m_TunePlaying != 1 || app.m_Paused == 1 || !tunesOn) return true;
    tunePlayedSeconds += seconds;
    // Asked every update, as a game may ask, the device notices an ended
    // tune at once.
    bool playing = kp_audio_device->MusicState() != 0;
    return playing || tunePlayedSeconds >= youngTuneSeconds;
}

bool PlayInvariants::SavedStateLoadsBack() {
    QuietOutput quiet;
    app.p_Save();
    String saved = host.state;
    app.p_Load();
    app.p_Save();
    return host.state == saved;
}

void PlayInvariants::Returned() { lastMixed = MixedSeconds(); }
