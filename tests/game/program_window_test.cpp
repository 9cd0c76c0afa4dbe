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

// Share of the window's pixels close to a colour, and of bright ones.
struct Picture {
    double share = 0;
    double bright = 0;
    int width = 0;
};

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
    picture.width = width;
    return picture;
}

std::string Shot(const char* name) {
    std::string file = std::string(SHOTS) + "/" + name;
    return std::system((std::string(SCREENSHOT) + " " + file + " Vantaroo").c_str()) == 0 ? file : "";
}

// The real program as a player starts it: the loading screen, the title,
// a bigger window, and F4 to leave.
TEST(GameProgram, LoadsIntoTheTitleAndEndsOnF4) {
    TempFolder folder;
    pid_t program = fork();
    if (program == 0) {
        if (chdir(folder.path.c_str()) != 0) _exit(126);
        execl(PROGRAM, PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    // The first frames of the loading screen, once something is drawn.
    Picture first;
    for (int attempt = 0; attempt < 100 && first.bright < 0.005; ++attempt) {
        Wait(20);
        std::string loading = Shot("loading.png");
        if (!loading.empty()) first = Look(loading, 0, 0, 0);
    }
    EXPECT_GT(first.share, 0.5) << "the loading screen is mostly black";
    EXPECT_GT(first.bright, 0.005) << "with the logo, the rings and the text on it";

    Wait(3000);
    Picture title = Look(Shot("title.png"), 20, 80, 160);
    EXPECT_GT(title.share, 0.4) << "the title screen's sky";

    ASSERT_EQ(std::system("xdotool search --name '^Vantaroo$' windowmove %1 0 0 windowsize %1 1280 960"), 0);
    Wait(3000);
    Picture bigger = Look(Shot("title-1280.png"), 20, 80, 160);
    EXPECT_EQ(bigger.width, 1280);
    EXPECT_GT(bigger.share, 0.4) << "the title again after reloading at the new size";

    ASSERT_EQ(std::system("xdotool search --name '^Vantaroo$' windowfocus --sync %1 key F4"), 0);
    int status = 0;
    for (int wait = 0; wait < 100 && waitpid(program, &status, WNOHANG) == 0; ++wait) Wait(50);
    if (waitpid(program, &status, WNOHANG) == 0 && !WIFEXITED(status)) {
        kill(program, SIGKILL);
        waitpid(program, &status, 0);
        FAIL() << "F4 did not end the program";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
