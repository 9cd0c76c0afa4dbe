#include "native/audio/worker_threads.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct WorkerPool {
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::function<void()>> jobs;
    std::size_t waiting = 0;
};

// Never destroyed: a thread may still be busy while the program ends.
WorkerPool& Pool() {
    static WorkerPool* pool = new WorkerPool;
    return *pool;
}

[[noreturn]] void Serve(WorkerPool& pool) {
    std::unique_lock<std::mutex> lock(pool.mutex);
    for (;;) {
        ++pool.waiting;
        pool.posted.wait(lock, [&pool] { return !pool.jobs.empty(); });
        --pool.waiting;
        std::function<void()> job = std::move(pool.jobs.front());
        pool.jobs.pop_front();
        lock.unlock();
        job();
        job = nullptr;
        lock.lock();
    }
}

}  // namespace

// A thread that cannot be started leaves the job to none: the caller hears
// of it as from starting a thread of its own.
void RunOnWorkerThread(std::function<void()> job) {
    WorkerPool& pool = Pool();
    std::lock_guard<std::mutex> lock(pool.mutex);
    pool.jobs.push_back(std::move(job));
    if (pool.waiting >= pool.jobs.size()) {
        pool.posted.notify_one();
        return;
    }
    try {
        std::thread([&pool] { Serve(pool); }).detach();
    } catch (...) {
        pool.jobs.pop_back();
        throw;
    }
}
