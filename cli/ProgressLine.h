#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace corvale {

// A progress line on a terminal's standard error, shown only once the work has taken longer
// than a second and redrawn at most ten times a second; never shown when standard error is not
// a terminal. Its members may be called from several threads at once.
class ProgressLine {
  public:
    explicit ProgressLine(std::FILE* stream);
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(std::string_view text);
    void Clear();
    // Clears the line and writes `text` to the stream, with no line shown in between.
    void Print(std::string_view text);

  private:
    using Clock = std::chrono::steady_clock;
    void ClearLocked();

    std::mutex mutex_;
    std::FILE* stream_;
    bool enabled_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_{};
    bool shown_ = false;
};

}  // namespace corvale
