#pragma once

namespace corvale {

// While it lives, SIGINT and SIGTERM ask the run to stop instead of killing the process, so
// that the run can remove its temporary files and leave every file as it was.
class Interruption {
  public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // The signal that asked to stop; 0 when none did.
    static int Signal();
};

}  // namespace corvale
