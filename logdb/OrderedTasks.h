#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <stop_token>
#include <thread>
#include <vector>

namespace corvale {

// Tasks that run side by side and are waited for in order (the award walks of a command, the
// parts of a file): task i for each i below `count`, taken in ascending order by up to `atOnce`
// threads, the caller's among them: while it waits for a task, the caller's thread takes the next
// task that no thread has taken. With one at a time no thread is started and the tasks run one
// after another, as a plain loop would run them.
class OrderedTasks {
  public:
    // `stop` asks the task to give up early: its outcome will not be waited for.
    using Task = std::function<void(std::size_t index, std::stop_token stop)>;

    OrderedTasks(std::size_t count, std::size_t atOnce, Task task);
    // Asks the tasks still running to stop and joins their threads.
    ~OrderedTasks();
    OrderedTasks(const OrderedTasks&) = delete;
    OrderedTasks& operator=(const OrderedTasks&) = delete;

    // Returns when task `index` is done, or throws what it threw. Called for 0, 1, 2... in turn.
    void WaitFor(std::size_t index);

  private:
    // Runs the next task that no thread has taken; false when every task was taken.
    bool TakeNext();

    Task task_;
    std::vector<std::promise<void>> done_;
    std::vector<std::future<void>> outcomes_;  // of done_, taken before any thread starts
    std::atomic<std::size_t> next_ = 0;
    std::stop_source stop_;
    std::vector<std::jthread> threads_;  // last, so that they are joined before the rest goes
};

// Calls work(i) for every i below `count`, side by side on the usable processors, and returns
// when all are done; throws what the call of the lowest i that threw threw.
void ForEachSideBySide(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace corvale
