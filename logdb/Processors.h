#pragma once

namespace corvale {

// The processors this process may run on (as nproc counts them), not all that are online; at
// least 1. Work split over threads takes no more threads than this.
int UsableProcessors();

}  // namespace corvale
