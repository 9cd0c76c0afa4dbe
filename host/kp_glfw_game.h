#pragma once

#include "host/kp_game.h"

// Raised each time a window, and with it a new OpenGL context, opens.
extern int glfwGraphicsSeq;

// The host on the window library: one window, the loop that paces updates
// and frames, the library's callbacks turned into framework events.
class KpGlfwGame : public KpGame {
public:
    KpGlfwGame();

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    int SaveState(String state) override;
    String LoadState() override;
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<KpDisplayMode*> GetDisplayModes() override;
    KpDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* components) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen);
    virtual KpGlfwVideoMode* GetGlfwDesktopMode();
    virtual Array<KpGlfwVideoMode*> GetGlfwVideoModes();
    virtual void Run();

    // The event step of the loop: wait while suspended, else poll; then
    // suspend or resume with the window's focus.
    void UpdateEvents();

    static KpGlfwGame* _glfwGame;

protected:
    double updatePeriod;
    double nextUpdate;
    String programFolder;
    String internalFolder;
    int swapInterval;

private:
    // Opens the window with this host's hints; false when it cannot be made.
    bool OpenGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                        bool fullscreen);
    void RunUpdates();
    void ReleaseHeldKeys();
    void InstallCallbacks();
};
