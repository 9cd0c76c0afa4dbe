#include <stb/stb_image.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/audio_decoding.h"
#include "host/kp_glfw_game.h"
#include "host/program_arguments.h"
#include "host/program_folder.h"
#include "host/state_file.h"

namespace {

const char* const kStateFile = "./.briskostate";

// The game's images are all PNG files. Anything else is refused before
// stb_image guesses at it: its TGA reader needs no signature, so a damaged
// file of a few bytes can claim an image of up to 2 GB that takes minutes to
// fill with nothing.
bool IsPng(FILE* file) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char start[sizeof kSignature];
    bool png = std::fread(start, 1, sizeof start, file) == sizeof start &&
               std::memcmp(start, kSignature, sizeof start) == 0;
    return std::fseek(file, 0, SEEK_SET) == 0 && png;
}

bool StateUnreadable() {
    FILE* file = std::fopen(kStateFile, "rb");
    if (!file) return errno != ENOENT;
    std::fclose(file);
    return false;
}

// Says once that saving stopped working and once that it works again, so a
// player whose scores are not being kept hears of it without a flood.
void ReportSave(int result, int error) {
    static bool failing = false;
    if ((result != 0) == failing) return;
    failing = result != 0;
    char folder[4096];
    std::string path = std::string(getcwd(folder, sizeof folder) ? folder : ".") + "/" + (kStateFile + 2);
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

String KpGlfwGame::LoadState() {
    FILE* file = OpenFile(String(kStateFile), String("rb"));
    if (!file) return String();
    String state = String::Load(file);
    std::fclose(file);
    return state;
}

// A state file that is there but cannot be read is kept: it may hold scores
// the game started without.
int KpGlfwGame::SaveState(String state) {
    int result = StateUnreadable() ? -1 : ReplaceFileContent(kStateFile, state.ToUtf8());
    ReportSave(result, errno);
    return result;
}

unsigned char* KpGlfwGame::LoadImageData(String path, int* width, int* height, int* components) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* pixels = IsPng(file) ? stbi_load_from_file(file, width, height, components, 0) : nullptr;
    std::fclose(file);
    if (pixels) gc_ext_malloced(static_cast<long long>(*width) * *height * *components);
    return pixels;
}

unsigned char* KpGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    String lowered = path.ToLower();
    DecodedAudio audio;
    if (lowered.EndsWith(String(".wav"))) {
        audio = DecodeWave(file);
    } else if (lowered.EndsWith(String(".ogg"))) {
        audio = DecodeOgg(file);
    }
    std::fclose(file);
    if (!audio.samples) return nullptr;
    *length = audio.length;
    *channels = audio.channels;
    *format = audio.format;
    *hertz = audio.hertz;
    gc_ext_malloced(static_cast<long long>(audio.length) * audio.channels * audio.format);
    return audio.samples;
}
