#include "cli/OrderedWalks.h"

#include <exception>
#include <system_error>
#include <utility>

namespace corvale {

OrderedWalks::OrderedWalks(std::size_t count, std::size_t atOnce, Walk walk)
    : walk_(std::move(walk)), done_(count) {
    for (std::promise<void>& done : done_)
        outcomes_.push_back(done.get_future());
    if (atOnce <= 1)
        return;
    for (std::size_t i = 0; i < atOnce && i < count; ++i) {
        try {
            threads_.emplace_back([this](const std::stop_token& stop) { Work(stop); });
        } catch (const std::system_error&) {
            break;  // fewer threads, or none: the caller's thread walks
        }
    }
}

OrderedWalks::~OrderedWalks() {
    for (std::jthread& thread : threads_)
        thread.request_stop();
}

void OrderedWalks::WaitFor(std::size_t index) {
    if (threads_.empty())
        walk_(index, {});
    else
        outcomes_[index].get();
}

void OrderedWalks::Work(const std::stop_token& stop) {
    for (std::size_t index = next_++; index < done_.size() && !stop.stop_requested();
         index = next_++) {
        try {
            walk_(index, stop);
            done_[index].set_value();
        } catch (...) {
            done_[index].set_exception(std::current_exception());
        }
    }
}

}  // namespace corvale
