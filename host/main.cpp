#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "host/command_line.h"
#include "host/kp_brisko_game.h"

namespace {

// A standard stream the game was started without (vantaroo >&-) gets
// /dev/null: else the next file or socket opened, the display's connection,
// takes its number, and what the game prints goes into it. An open takes
// the lowest free number, which is the stream's once those before it are
// taken.
void OpenMissingStandardStreams() {
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (fcntl(stream, F_GETFD) == -1 && errno == EBADF) open("/dev/null", O_RDWR);
    }
}

}  // namespace

// The answer to an option goes to the streams as they were given, so that
// one nobody can read fails. A FIFO whose reader leaves in the middle of a
// save fails that save (EPIPE) instead of ending the game.
int main(int argc, char** argv) {
    int answered = AnswerCommandLine(argc, argv, stdout, stderr);
    if (answered >= 0) return answered;
    OpenMissingStandardStreams();
    std::signal(SIGPIPE, SIG_IGN);
    KpBriskoGame::Main(argc, argv);
    return 0;
}
