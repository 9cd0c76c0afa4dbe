#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/audio_decoding.h"
#include "host/image_decoding.h"
#include "host/kp_glfw_game.h"
#include "host/program_arguments.h"
#include "host/program_folder.h"
#include "host/state_file.h"

namespace {

const char* const kStateFile = "./.briskostate";

// Opened without waiting, so that a FIFO in the file's place with nobody
// writing into it does not stop the save.
bool StateUnreadable() {
    int descriptor = open(kStateFile, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return errno != ENOENT;
    close(descriptor);
    return false;
}

// Says once that saving stopped working and once that it works again, so a
// player whose scores are not being kept hears of it without a flood.
void ReportSave(int result, int error) {
    static bool failing = false;
    if ((result != 0) == failing) return;
    failing = result != 0;
    std::string path = StateFilePath();
    if (failing) {
        std::fprintf(stderr, "Vantaroo: cannot save %s: %s\n", path.c_str(), std::strerror(error));
    } else {
        std::fprintf(stderr, "Vantaroo: saved %s again\n", path.c_str());
    }
}

}  // namespace

String KpGlfwGame::PathToFilePath(String path) {
    if (programFolder.Length() == 0) programFolder = ProgramFolder("/proc/self/exe", argv ? argv[0] : nullptr);
    if (!path.StartsWith(String("brisko:"))) return path;

    String data("brisko://data/");
    String internal("brisko://internal/");
    String external("brisko://external/");
    if (path.StartsWith(data)) return programFolder + String("/data/") + path.Slice(data.Length());
    if (path.StartsWith(internal)) {
        if (internalFolder.Length() == 0) internalFolder = programFolder + String("/internal");
        return internalFolder + String("/") + path.Slice(internal.Length());
    }
    if (path.StartsWith(external)) return programFolder + String("/external/") + path.Slice(external.Length());
    return String();
}

// Only a regular file holds a state: a FIFO would stop the game's start
// until somebody writes into it, and a device such as /dev/zero never ends.
// Either is read as no state, like a missing file.
String KpGlfwGame::LoadState() {
    int descriptor = open(kStateFile, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return String();
    struct stat status;
    FILE* file = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) ? fdopen(descriptor, "rb") : nullptr;
    if (!file) {
        close(descriptor);
        return String();
    }
    String state = String::Load(file);
    std::fclose(file);
    return state;
}

// A state file that is there but cannot be read is kept: it may hold scores
// the game started without. A state past the player's file size limit fails
// to save like one the disk has no room for, instead of ending the game.
int KpGlfwGame::SaveState(String state) {
    std::signal(SIGXFSZ, SIG_IGN);
    int result = StateUnreadable() ? -1 : ReplaceFileContent(kStateFile, state.ToUtf8());
    ReportSave(result, errno);
    return result;
}

unsigned char* KpGlfwGame::LoadImageData(String path, int* width, int* height, int* components) {
    return DecodePngFile(SystemFilePath(path), width, height, components);
}

unsigned char* KpGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    DecodedAudio audio = DecodeAudioFile(SystemFilePath(path));
    if (!audio.samples) return nullptr;
    *length = audio.length;
    *channels = audio.channels;
    *format = audio.format;
    *hertz = audio.hertz;
    return audio.samples;
}
