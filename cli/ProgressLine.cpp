#include "cli/ProgressLine.h"

#include <unistd.h>

namespace corvale {

ProgressLine::ProgressLine(std::FILE* stream)
    : stream_(stream), enabled_(isatty(fileno(stream)) == 1) {}

void ProgressLine::Show(std::string_view text) {
    if (!enabled_)
        return;
    const std::lock_guard lock(mutex_);
    const Clock::time_point now = Clock::now();
    if (now - start_ < std::chrono::seconds(1))
        return;
    if (shown_ && now - lastShown_ < std::chrono::milliseconds(100))
        return;
    std::fprintf(stream_, "\r\033[K%.*s", static_cast<int>(text.size()), text.data());
    std::fflush(stream_);
    lastShown_ = now;
    shown_ = true;
}

void ProgressLine::Clear() {
    const std::lock_guard lock(mutex_);
    ClearLocked();
}

void ProgressLine::Print(std::string_view text) {
    const std::lock_guard lock(mutex_);
    ClearLocked();
    std::fwrite(text.data(), 1, text.size(), stream_);
}

void ProgressLine::ClearLocked() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", stream_);
    std::fflush(stream_);
    shown_ = false;
}

}  // namespace corvale
