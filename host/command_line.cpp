#include "host/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/state_file.h"

namespace {

constexpr int kPlay = -1;
constexpr int kWriteError = 1;
constexpr int kUsageError = 2;

constexpr const char* kUsage = "Usage: vantaroo [--help | --version]\n";

constexpr const char* kAbout =
    "Run and jump across crumbling platforms and score every cell the first\n"
    "time you land on it.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and end\n"
    "  -V, --version  show the version and end\n"
    "\n"
    "Keys:\n"
    "  Left, Right or A, D         run\n"
    "  Z, Space, Enter or J        jump; choose in menus\n"
    "  Up, Down or W, S            move in menus\n"
    "  Escape or Backspace         pause; go back\n"
    "  F11                         full screen on and off\n"
    "  F4                          quit at once\n"
    "Game pads, and the mouse in the menus, work too.\n"
    "\n";

bool Is(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

bool IsKnown(const char* argument) { return Is(argument, "-h", "--help") || Is(argument, "-V", "--version"); }

int Refuse(int argc, char** argv, std::FILE* err) {
    const char* unknown = nullptr;
    for (int i = 1; i < argc && !unknown; ++i) {
        if (!IsKnown(argv[i])) unknown = argv[i];
    }
    if (unknown) {
        std::fprintf(err, "vantaroo: unknown option '%s'\n", unknown);
    } else {
        std::fputs("vantaroo: one option at a time\n", err);
    }
    std::fputs(kUsage, err);
    std::fputs("Try 'vantaroo --help' for more.\n", err);
    return kUsageError;
}

// Writes an answer and closes the output: a full disk or a closed standard
// output ends with a reason and status 1 instead of silence and 0.
int Answer(const std::string& text, std::FILE* out, std::FILE* err) {
    int error = std::fputs(text.c_str(), out) == EOF ? errno : 0;
    if (std::fclose(out) != 0 && error == 0) error = errno;
    if (error == 0) return 0;
    std::fprintf(err, "vantaroo: cannot write to standard output: %s\n", std::strerror(error));
    return kWriteError;
}

std::string Help() {
    return std::string(kUsage) + kAbout + "Settings, badges and highscores are kept in " + StateFilePath() + "\n";
}

}  // namespace

int AnswerCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err) {
    if (argc < 2) return kPlay;
    const char* option = argv[1];
    if (argc == 2 && Is(option, "-h", "--help")) return Answer(Help(), out, err);
    if (argc == 2 && Is(option, "-V", "--version")) {
        return Answer(std::string("vantaroo ") + VANTAROO_VERSION + "\n", out, err);
    }
    return Refuse(argc, argv, err);
}

void ExplainNoDisplay(std::FILE* err) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool named = (display && *display) || (wayland && *wayland);
    if (!named) {
        std::fputs("vantaroo: there is no display to open the game's window on: neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set; start the game from a desktop session\n",
                   err);
        return;
    }
    std::fprintf(err, "vantaroo: cannot open the game's window on display '%s': the display server refused the "
                      "connection or is not running\n",
                 display && *display ? display : wayland);
}
