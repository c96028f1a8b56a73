#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <stop_token>
#include <thread>
#include <vector>

namespace corvale {

// Walks that run side by side and are waited for in order: walk i for each i below `count`,
// started in ascending order on up to `atOnce` threads. With one at a time (or when no thread
// can be started) no thread is used: each walk runs on the caller's thread when it is waited
// for, as a plain loop would run it.
class OrderedWalks {
  public:
    // `stop` asks the walk to give up early: its outcome will not be waited for.
    using Walk = std::function<void(std::size_t index, std::stop_token stop)>;

    OrderedWalks(std::size_t count, std::size_t atOnce, Walk walk);
    // Asks the walks still running to stop and joins their threads.
    ~OrderedWalks();
    OrderedWalks(const OrderedWalks&) = delete;
    OrderedWalks& operator=(const OrderedWalks&) = delete;

    // Returns when walk `index` is done, or throws what it threw. Called for 0, 1, 2... in turn.
    void WaitFor(std::size_t index);

  private:
    void Work(const std::stop_token& stop);

    Walk walk_;
    std::vector<std::promise<void>> done_;
    std::vector<std::future<void>> outcomes_;  // of done_, taken before any thread starts
    std::atomic<std::size_t> next_ = 0;
    std::vector<std::jthread> threads_;  // last, so that they are joined before the rest goes
};

}  // namespace corvale
