#include "native/audio/device_opener.h"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "native/audio/device_check.h"
#include "native/audio/worker_threads.h"

namespace {

std::atomic<bool> libraryStarted{false};

// Only a driver that needs a server can be waited for.
bool DriversMayWaitForAServer() {
    const char* named = std::getenv("ALSOFT_DRIVERS");
    if (!named || !*named) return true;
    std::string drivers = named;
    return drivers.back() == ',' || drivers.find("pulse") != std::string::npos ||
           drivers.find("jack") != std::string::npos;
}

gxtkDeviceOpener::Result OpenDevice(bool checkFirst) {
    gxtkDeviceOpener::Result result;
    bool checked = !libraryStarted.load() && checkFirst;
    if (checked && !OpensInAFreshLibrary()) return result;
    libraryStarted.store(true);
    result.device = OpenAnyDevice();
    result.serverGoneAsItStarted = checked && !result.device;
    return result;
}

}  // namespace

ALCdevice* OpenAnyDevice() {
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (!opened) opened = alcOpenDevice("Generic Hardware");
    if (!opened) opened = alcOpenDevice("Generic Software");
    return opened;
}

struct gxtkDeviceOpener::Attempt {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    Result result;
};

void gxtkDeviceOpener::Start() {
    auto started = std::make_shared<Attempt>();
    bool checkFirst = DriversMayWaitForAServer();
    try {
        RunOnWorkerThread([started, checkFirst] {
            Result result = OpenDevice(checkFirst);
            std::lock_guard<std::mutex> lock(started->mutex);
            started->result = result;
            started->done = true;
            started->finished.notify_all();
        });
    } catch (const std::system_error&) {
        started->done = true;
    }
    attempt = started;
}

bool gxtkDeviceOpener::Wait(std::chrono::milliseconds limit) {
    if (!attempt) return false;
    std::unique_lock<std::mutex> lock(attempt->mutex);
    return attempt->finished.wait_for(lock, limit, [this] { return attempt->done; });
}

gxtkDeviceOpener::Result gxtkDeviceOpener::Take() {
    if (!Wait(std::chrono::milliseconds(0))) return Result();
    Result result = attempt->result;
    attempt.reset();
    return result;
}

void gxtkDeviceOpener::Abandon() {
    EndRunningCheck();
    attempt.reset();
}

bool gxtkDeviceOpener::LibraryStarted() { return libraryStarted.load(); }
