#pragma once

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "../support/exit_leak_check.h"

// The real program in a window under Xvfb, driven as a player drives it:
// keys through xdotool, pictures through the screenshot tool.
class RealProgram {
public:
    // Starts the program with `folder` as its working folder (where it keeps
    // its state file); what it prints goes to "output.txt" there. Each
    // "NAME=value" of `environment` is set for the program alone. What it
    // says on standard error goes to "errors.txt". `program` is the built
    // program or a copy of it.
    explicit RealProgram(const std::string& folder, const std::vector<std::string>& environment = {},
                         const std::string& program = PROGRAM) {
        pid = fork();
        if (pid == 0) {
            for (const std::string& setting : environment) {
                std::size_t equals = setting.find('=');
                if (equals == std::string::npos) _exit(124);
                setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
            }
            LeaveOutExitLeakCheck();
            if (chdir(folder.c_str()) != 0) _exit(126);
            if (!std::freopen("output.txt", "w", stdout) || !std::freopen("errors.txt", "w", stderr)) _exit(125);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~RealProgram() {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    pid_t Pid() const { return pid; }

    static void Wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

    // Saves the picture of the window with the given title (of the whole
    // screen for an empty title) beside the test program; empty when there
    // is no such window.
    static std::string Shot(const std::string& name, const std::string& title = "Vantaroo") {
        std::string file = std::string(SHOTS) + "/" + name;
        std::string command = std::string(SCREENSHOT) + " " + file;
        if (!title.empty()) command += " '" + title + "'";
        return std::system(command.c_str()) == 0 ? file : "";
    }

    // Sends xdotool commands to the window, focusing it first.
    static int Send(const std::string& commands) {
        return std::system(("xdotool search --name '^Vantaroo$' windowfocus --sync %1 " + commands).c_str());
    }

    // The game reads whether a key is down, so a press lasts a few updates.
    static void Hold(const std::string& key, int milliseconds = 200) {
        ASSERT_EQ(Send("keydown " + key), 0);
        Wait(milliseconds);
        ASSERT_EQ(Send("keyup " + key), 0);
    }

    // The exit status once the program has ended, or -1 after thirty
    // seconds.
    int ExitStatus() {
        int status = 0;
        for (int wait = 0; wait < 600; ++wait) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            Wait(50);
        }
        return -1;
    }

private:
    pid_t pid = 0;
};

// Share of a picture's pixels close to a colour, and of bright ones.
struct Picture {
    double share = 0;
    double bright = 0;
    int width = 0;
    int height = 0;
};

inline Picture Look(const std::string& file, int r, int g, int b) {
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
    picture.height = height;
    return picture;
}
