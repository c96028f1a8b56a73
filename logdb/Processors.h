#pragma once

#include <cstddef>
#include <functional>

namespace corvale {

// The processors this process may run on (as nproc counts them), not all that are online; at
// least 1. Work split over threads takes no more threads than this.
int UsableProcessors();

// Calls work(i) for every i below `count`, on as many threads as there are usable processors
// (the caller's among them) and items. When calls throw, the exception of the lowest i is
// rethrown once all calls are done.
void ForEachOnProcessors(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace corvale
