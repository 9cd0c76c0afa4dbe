#include "framework/asyncevent/thread.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

void KpThread::Start() {
    if (runState.load(std::memory_order_acquire) == 1) return;
    result = nullptr;
    runState.store(1, std::memory_order_relaxed);
    try {
        std::thread([this] {
            Run__UNSAFE__();
            runState.store(2, std::memory_order_release);
        }).detach();
    } catch (const std::system_error&) {
        std::fputs("CreateThread failed!\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }
}

bool KpThread::IsRunning() { return runState.load(std::memory_order_acquire) == 1; }

Object* KpThread::Result() { return result; }

void KpThread::SetResult(Object* value) { result = value; }

String KpThread::Strdup(const String& text) { return String(text.Data(), text.Length()); }
