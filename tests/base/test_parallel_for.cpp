// SPDX-License-Identifier: GPL-3.0-or-later

// Items shared among threads that are kept between calls: every item done
// once, the lowest failing item's exception raised, and no call waits on
// another, whether the calls come one after another, at once from several
// threads, or from inside an item.
#include "base/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace korvo {
namespace {

// Runs `count` items on `jobs` threads; each item records how often it ran.
std::vector<int> Counts(std::size_t count, unsigned jobs) {
    std::vector<std::atomic<int>> runs(count);
    ParallelFor(count, jobs, [&](std::size_t i) { ++runs[i]; });
    return {runs.begin(), runs.end()};
}

TEST(ParallelFor, EveryItemOnceOverManyShortCalls) {
    for (int call = 0; call < 2000; ++call) {
        const std::size_t count = call % 9; // rounds of 0 to 8 items, as a search makes
        EXPECT_EQ(Counts(count, 1 + call % 4), std::vector<int>(count, 1)) << "call " << call;
    }
}

TEST(ParallelFor, TheLowestFailingItemsExceptionReachesTheCaller) {
    for (unsigned jobs : {1u, 2u, 8u}) {
        try {
            ParallelFor(100, jobs, [](std::size_t i) {
                if (i == 37 || i == 80)
                    throw std::runtime_error(std::to_string(i));
            });
            ADD_FAILURE() << "nothing thrown with " << jobs << " jobs";
        } catch (const std::runtime_error& e) {
            // Item 80 may run first; 37 always runs, so it always wins.
            EXPECT_STREQ(e.what(), "37");
        }
        EXPECT_EQ(Counts(10, jobs), std::vector<int>(10, 1)) << "usable again after a failure";
    }
}

TEST(ParallelFor, CallsFromInsideAnItemAndFromOtherThreadsDoNotWaitOnEachOther) {
    std::atomic<long> total{0};
    const auto nested = [&] {
        ParallelFor(6, 3, [&](std::size_t) {
            ParallelFor(5, 2, [&](std::size_t j) { total += static_cast<long>(j) + 1; });
        });
    };
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t)
        callers.emplace_back([&] {
            for (int k = 0; k < 50; ++k)
                nested();
        });
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_EQ(total.load(), 4L * 50 * 6 * 15);
}

} // namespace
} // namespace korvo
