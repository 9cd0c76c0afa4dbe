#pragma once

#include <atomic>

#include "runtime/gc.h"

// A native thread that runs Run__UNSAFE__ once per Start. The collector does
// not trace `result`: an object stored there stays reachable through other
// references.
class KpThread : public Object {
public:
    // 0 never started, 1 running, 2 finished; storing 2 is the worker's last
    // touch of this object.
    std::atomic<int> runState{0};
    Object* result = nullptr;

    virtual void Start();
    virtual bool IsRunning();
    virtual Object* Result();
    virtual void SetResult(Object* value);
    virtual void Run__UNSAFE__() {}

    // A copy of the text that shares no body with the original, so a worker
    // can read it while the main thread goes on counting references.
    static String Strdup(const String& text);
};

class c_Thread : public KpThread {};
