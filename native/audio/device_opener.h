#pragma once

#include <AL/alc.h>

#include <chrono>
#include <memory>

// Opens the output device on a worker thread, so that a sound server that is
// slow, stuck or not there never holds up the game, nor its end.
//
// OpenAL picks its drivers once, at its first use in a process: started
// while no sound server answers, it never uses one that comes later. So
// until the game's own library has started, an attempt first opens a device
// in a new run of the program, where the library starts afresh, and starts
// the game's own only once that worked; a check that cannot be made for now
// counts as a no. Drivers that need no server (ALSOFT_DRIVERS naming only others)
// skip the check.
class gxtkDeviceOpener {
public:
    gxtkDeviceOpener() = default;
    gxtkDeviceOpener(const gxtkDeviceOpener&) = delete;
    gxtkDeviceOpener& operator=(const gxtkDeviceOpener&) = delete;
    ~gxtkDeviceOpener() { Abandon(); }

    // Starts an attempt; the opener must be idle.
    void Start();
    bool Idle() const { return attempt == nullptr; }
    // Waits up to `limit` for the attempt; true once it has finished.
    bool Wait(std::chrono::milliseconds limit);
    struct Result {
        ALCdevice* device = nullptr;
        // The server answered a check, but had gone when the game's own
        // library started: the library never uses it again in this process.
        bool serverGoneAsItStarted = false;
    };
    // The finished attempt's result; the opener is idle again.
    Result Take();
    // Leaves an attempt to itself, without waiting: the program is ending,
    // or the device is no longer wanted. A device it opens after all stays
    // open until the program ends; a child's check is ended at once.
    void Abandon();

    // True once the game's own library has been started.
    static bool LibraryStarted();

private:
    struct Attempt;
    std::shared_ptr<Attempt> attempt;
};

// The default device, or another under the names other platforms' OpenAL
// gives its devices.
ALCdevice* OpenAnyDevice();
