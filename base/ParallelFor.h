// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Work items shared among threads, for computations whose items are
// independent: each item writes only its own result, so the results do not
// depend on how many threads ran them or in which order.
//
//   std::vector<double> out(n);
//   ParallelFor(n, jobs, [&](std::size_t i) { out[i] = f(i); });
//
// The calling thread works too, so `jobs` 1 starts no thread. An item that
// throws stops the others from taking new items; once every thread is back,
// the exception of the lowest item that threw is raised again on the caller.
// When the system will not start another thread, those started and the caller
// share the items among themselves.
#include <cstddef>
#include <functional>

namespace korvo {

// The most threads ParallelFor starts, whatever it is asked for.
inline constexpr unsigned kMostParallelJobs = 256;

void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work);

} // namespace korvo
