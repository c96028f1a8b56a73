#include "logdb/OrderedTasks.h"

#include <chrono>
#include <exception>
#include <system_error>
#include <utility>

#include "logdb/Processors.h"

namespace corvale {

OrderedTasks::OrderedTasks(std::size_t count, std::size_t atOnce, Task task)
    : task_(std::move(task)), done_(count) {
    for (std::promise<void>& done : done_)
        outcomes_.push_back(done.get_future());
    for (std::size_t i = 1; i < atOnce && i < count; ++i) {
        try {
            threads_.emplace_back([this] {
                while (!stop_.stop_requested() && TakeNext()) {
                }
            });
        } catch (const std::system_error&) {
            break;  // fewer threads work, at least the caller's
        }
    }
}

OrderedTasks::~OrderedTasks() {
    stop_.request_stop();
}

void OrderedTasks::WaitFor(std::size_t index) {
    std::future<void>& outcome = outcomes_[index];
    while (outcome.wait_for(std::chrono::seconds(0)) != std::future_status::ready && TakeNext()) {
    }
    outcome.get();
}

bool OrderedTasks::TakeNext() {
    const std::size_t index = next_++;
    if (index >= done_.size())
        return false;
    try {
        task_(index, stop_.get_token());
        done_[index].set_value();
    } catch (...) {
        done_[index].set_exception(std::current_exception());
    }
    return true;
}

void ForEachSideBySide(std::size_t count, const std::function<void(std::size_t)>& work) {
    OrderedTasks tasks(count, static_cast<std::size_t>(UsableProcessors()),
                       [&work](std::size_t i, std::stop_token) { work(i); });
    for (std::size_t i = 0; i < count; ++i)
        tasks.WaitFor(i);
}

}  // namespace corvale
