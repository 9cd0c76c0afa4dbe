#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/reliability/started_program.h"

namespace reliability {
namespace {

// An X server of this test's own whose only output is switched off: the
// window library finds no monitor there. The test's programs and tools use
// it while this lives.
class DisplayWithoutMonitor {
public:
    DisplayWithoutMonitor() {
        e2e::KeepDisplayOpen();
        const char* shared = std::getenv("DISPLAY");
        previous = shared ? shared : "";
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        server = fork();
        if (server == 0) {
            // The server tells its number on its standard output.
            dup2(pipeEnds[1], STDOUT_FILENO);
            execlp("Xvfb", "Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-noreset",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // The number and its line feed may come in separate writes.
        std::string number;
        char digit;
        while (read(pipeEnds[0], &digit, 1) == 1 && digit != '\n') number += digit;
        close(pipeEnds[0]);
        if (number.empty()) return;
        std::string name = ":" + number;
        setenv("DISPLAY", name.c_str(), 1);
        // The server cannot shrink its screen to nothing and says so; the
        // output is off all the same.
        monitorOff = std::system("xrandr --output screen --off 2>/dev/null; xrandr --listmonitors | grep -q 'Monitors: 0'") == 0;
    }
    ~DisplayWithoutMonitor() {
        setenv("DISPLAY", previous.c_str(), 1);
        if (server <= 0) return;
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    DisplayWithoutMonitor(const DisplayWithoutMonitor&) = delete;
    DisplayWithoutMonitor& operator=(const DisplayWithoutMonitor&) = delete;

    bool monitorOff = false;

private:
    std::string previous;
    pid_t server = 0;
};

// With no monitor there is no desktop to fill: F11 and the options box's
// window row leave the game in its window instead of ending it.
TEST(NoMonitor, FullScreenKeepsTheGameInItsWindow) {
    DisplayWithoutMonitor display;
    ASSERT_TRUE(display.monitorOff);
    TempFolder folder;
    StartedProgram program({.folder = folder.path, .output = folder.File("output.txt")});
    ASSERT_TRUE(e2e::NewUser::IsTitle(ShotWhen("no-monitor", 15, e2e::NewUser::IsTitle)));
    RealProgram::Hold("F11");
    EXPECT_EQ(program.ExitStatus(1), -1) << "still running";
    EXPECT_TRUE(e2e::NewUser::IsTitle(ShotWhen("no-monitor-after-f11", 5, e2e::NewUser::IsTitle)));
    EXPECT_EQ(End(program, Ending::kF4), 0);
    EXPECT_EQ(program.Output(), "opening openal device\nHighscores Loaded\n");
}

}  // namespace
}  // namespace reliability
