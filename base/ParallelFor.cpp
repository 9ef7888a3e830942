// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace korvo {
namespace {

// Threads kept waiting between calls. A search that works in many short
// rounds (a few trajectories each) would otherwise spend a good part of each
// round starting and joining threads. One call at a time uses the pool; a
// call made while it is busy (from another thread, or from inside an item)
// starts threads of its own, as every call once did.
class Pool {
public:
    static Pool& Instance() {
        static Pool pool;
        return pool;
    }

    // Runs `task` on up to `helpers` pool threads besides the caller, who runs
    // it too; returns once every one of them has finished it. False, having
    // run nothing, when the pool is busy.
    bool Run(std::size_t helpers, const std::function<void()>& task) {
        const std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        if (!busy.owns_lock())
            return false;
        std::unique_lock<std::mutex> lock(mutex_);
        while (workers_.size() < helpers) {
            try {
                workers_.emplace_back([this, index = workers_.size()] { Work(index); });
            } catch (const std::system_error&) {
                break; // those started and the caller share the items
            }
        }
        task_ = &task;
        active_ = std::min(helpers, workers_.size());
        remaining_ = active_;
        ++generation_;
        lock.unlock();
        wake_.notify_all();
        task();
        lock.lock();
        done_.wait(lock, [this] { return remaining_ == 0; });
        task_ = nullptr;
        return true;
    }

    ~Pool() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }

private:
    Pool() = default;

    void Work(std::size_t index) {
        std::uint64_t seen = 0;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_)
                return;
            seen = generation_;
            if (index >= active_)
                continue;
            const std::function<void()>* task = task_;
            lock.unlock();
            (*task)();
            lock.lock();
            if (--remaining_ == 0)
                done_.notify_one();
        }
    }

    std::mutex busy_; // held by the one call that uses the pool
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> workers_;
    const std::function<void()>* task_ = nullptr;
    std::size_t active_ = 0, remaining_ = 0;
    std::uint64_t generation_ = 0;
    bool stop_ = false;
};

} // namespace

void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::size_t failedItem = count;
    std::exception_ptr failure;
    const std::function<void()> take = [&] {
        for (std::size_t i = next++; i < count && !failed.load(); i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(mutex);
                if (i < failedItem) {
                    failedItem = i;
                    failure = std::current_exception();
                }
                failed = true;
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>({std::max(jobs, 1u), count, kMostParallelJobs});
    if (threads <= 1) {
        take();
    } else if (!Pool::Instance().Run(threads - 1, take)) {
        std::vector<std::thread> pool;
        try {
            for (std::size_t t = 1; t < threads; ++t)
                pool.emplace_back(take);
        } catch (const std::system_error&) {
        }
        take();
        for (std::thread& thread : pool)
            thread.join();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace korvo
