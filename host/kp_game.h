#pragma once

#include <cstdio>
#include <string>

#include "host/display_modes.h"
#include "host/kp_game_delegate.h"
#include "runtime/kp_array.h"

// Framework event codes shared with the delegate and the input device.
enum KpEvent {
    kKeyDown = 1,
    kKeyUp = 2,
    kKeyChar = 3,
    kMouseDown = 4,
    kMouseUp = 5,
    kMouseMove = 6,
    kTouchDown = 7,
    kTouchUp = 8,
    kTouchMove = 9,
    kAcceleration = 10,
};

// The host object: owns the process and offers the platform's services to
// the whole program. These defaults do nothing useful; a real host
// overrides the platform operations.
class KpGame {
public:
    KpGame();
    virtual ~KpGame() {}

    virtual void SetDelegate(KpGameDelegate* delegate);
    virtual KpGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual Array<KpDisplayMode*> GetDisplayModes();
    virtual KpDisplayMode* GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(String path);
    // The file a path names in the system's bytes, "" when it names none.
    // Resolving reads the host's folder Strings, whose counts are not
    // atomic, so it runs on the main thread; a loader thread is handed the
    // result.
    std::string SystemFilePath(String path);
    virtual FILE* OpenFile(String path, String mode);
    // Blocks handed out by the loaders belong to the caller (free them).
    virtual unsigned char* LoadData(String path, int* length);
    // LoadData for a file named in the system's bytes. It touches neither
    // the host nor any String, so a loader thread may call it.
    static unsigned char* LoadFileData(const std::string& systemPath, int* length);
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* components);
    virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz);
    // Ends the program after a language exception escaped the game.
    [[noreturn]] virtual void Die(ThrowableObject* exception);
    virtual void gc_collect();

    // Forwarders to the delegate: each runs only in its state, then lets
    // the collector take a step.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    static KpGame* _game;

protected:
    KpGameDelegate* delegate;
    bool keyboardEnabled;
    int updateRate;
    bool started;
    bool suspended;

private:
    template <class Call> void CallDelegate(Call call);
};
