#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/host/temp_folder.h"

namespace {

void Wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

struct Picture {
    double share = 0;
    double bright = 0;
};

// Share of the pixels close to a colour, and of bright ones.
Picture Look(const std::string& file, int r, int g, int b) {
    Picture picture;
    int width, height, channels;
    unsigned char* pixels = stbi_load(file.c_str(), &width, &height, &channels, 3);
    if (!pixels) return picture;
    long close = 0, bright = 0, count = static_cast<long>(width) * height;
    for (long i = 0; i < count; ++i) {
        const unsigned char* p = pixels + i * 3;
        if (std::abs(p[0] - r) < 8 && std::abs(p[1] - g) < 8 && std::abs(p[2] - b) < 8) ++close;
        if (p[0] > 200 || p[1] > 200 || p[2] > 200) ++bright;
    }
    stbi_image_free(pixels);
    picture.share = static_cast<double>(close) / static_cast<double>(count);
    picture.bright = static_cast<double>(bright) / static_cast<double>(count);
    return picture;
}

std::string Shot(const char* name) {
    std::string file = std::string(SHOTS) + "/" + name;
    return std::system((std::string(SCREENSHOT) + " " + file + " Vantaroo").c_str()) == 0 ? file : "";
}

int Send(const std::string& keys) {
    return std::system(("xdotool search --name '^Vantaroo$' windowfocus --sync %1 " + keys).c_str());
}

// The game reads whether a key is down, so a key stays down for a few
// updates.
void Hold(const char* key) {
    ASSERT_EQ(Send(std::string("keydown ") + key), 0);
    Wait(200);
    ASSERT_EQ(Send(std::string("keyup ") + key), 0);
}

// The player's way in: the title's fire key starts a game at the speed on
// the wheel, the first layout drops in on the night-blue play screen.
TEST(PlayWindow, FireOnTheTitleStartsAGame) {
    TempFolder folder;
    pid_t program = fork();
    if (program == 0) {
        if (chdir(folder.path.c_str()) != 0) _exit(126);
        execl(PROGRAM, PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    Wait(4000);
    Hold("space");
    Wait(2500);
    Picture play = Look(Shot("play.png"), 0, 0, 80);
    EXPECT_GT(play.share, 0.3) << "the play background";
    EXPECT_GT(play.bright, 0.01) << "walls, platforms, the player and the score";

    Hold("space");
    Wait(150);
    Picture jump = Look(Shot("play-jump.png"), 0, 0, 80);
    EXPECT_GT(jump.share, 0.3);

    EXPECT_EQ(Send("key F4"), 0);
    int status = 0;
    pid_t ended = 0;
    for (int wait = 0; wait < 100 && ended == 0; ++wait) {
        Wait(50);
        ended = waitpid(program, &status, WNOHANG);
    }
    if (ended != program) {
        kill(program, SIGKILL);
        waitpid(program, &status, 0);
        FAIL() << "F4 did not end the program";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
