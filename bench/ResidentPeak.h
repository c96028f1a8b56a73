#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace corvale {

// The peak resident memory of this process so far, in kB (VmHWM); 0 where it cannot be read.
inline long ResidentPeakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

}  // namespace corvale
