// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace korvo {

void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::size_t failedItem = count;
    std::exception_ptr failure;
    const auto take = [&] {
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
    std::vector<std::thread> pool;
    try {
        for (std::size_t t = 1; t < threads; ++t)
            pool.emplace_back(take);
    } catch (const std::system_error&) {
    }
    take();
    for (std::thread& thread : pool)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace korvo
