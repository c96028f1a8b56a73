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
// taken in ascending order by up to `atOnce` threads, the caller's among them: while it waits
// for a walk, the caller's thread takes the next walk that no thread has taken. With one at a
// time no thread is started and the walks run one after another, as a plain loop would run them.
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
    // Runs the next walk that no thread has taken; false when every walk was taken.
    bool TakeNext();

    Walk walk_;
    std::vector<std::promise<void>> done_;
    std::vector<std::future<void>> outcomes_;  // of done_, taken before any thread starts
    std::atomic<std::size_t> next_ = 0;
    std::stop_source stop_;
    std::vector<std::jthread> threads_;  // last, so that they are joined before the rest goes
};

}  // namespace corvale
