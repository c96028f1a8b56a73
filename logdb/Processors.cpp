#include "logdb/Processors.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace corvale {

int UsableProcessors() {
    cpu_set_t allowed;
    const int processors = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                               ? CPU_COUNT(&allowed)
                               : static_cast<int>(std::thread::hardware_concurrency());
    return std::max(processors, 1);
}

void ForEachOnProcessors(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::vector<std::exception_ptr> failures(count);
    std::atomic<std::size_t> next = 0;
    const auto takeAll = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                failures[i] = std::current_exception();
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        const std::size_t threads = std::min(static_cast<std::size_t>(UsableProcessors()), count);
        for (std::size_t t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back(takeAll);
            } catch (const std::system_error&) {
                break;  // fewer threads do the work, at least the caller's
            }
        }
        takeAll();
    }  // the helpers are joined here
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

}  // namespace corvale
