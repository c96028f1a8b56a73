#include "logdb/Processors.h"

#include <sched.h>

#include <algorithm>
#include <thread>

namespace corvale {

int UsableProcessors() {
    cpu_set_t allowed;
    const int processors = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                               ? CPU_COUNT(&allowed)
                               : static_cast<int>(std::thread::hardware_concurrency());
    return std::max(processors, 1);
}

}  // namespace corvale
