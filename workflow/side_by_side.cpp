#include "workflow/side_by_side.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace lumaro {

namespace {

using Clock = std::chrono::steady_clock;

enum class TaskState { Waiting, Running, Ended };

// The tasks' states and the threads that take them; every thread runs Work().
class SideBySideRun {
public:
    explicit SideBySideRun(const SideBySideTasks& tasks)
        : tasks_(tasks), states_(tasks.count, TaskState::Waiting), left_(tasks.count) {}

    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (left_ == 0) return;
            const auto now = Clock::now();
            if (now < nextStart_) {
                changed_.wait_until(lock, nextStart_);
                continue;
            }
            const std::optional<std::size_t> task = NextToStart();
            if (!task) {
                // Every task that may start is held back by a running one: wait for an end.
                changed_.wait(lock);
                continue;
            }
            states_[*task] = TaskState::Running;
            --left_;
            ++running_;
            nextStart_ = now + tasks_.spacing;
            lock.unlock();
            tasks_.run(*task);
            lock.lock();
            states_[*task] = TaskState::Ended;
            --running_;
            ++done_;
            tasks_.ended(*task, SideBySideProgress{done_, running_, left_});
            changed_.notify_all();
        }
    }

private:
    // The first waiting task that no unended earlier task holds back. The first waiting
    // task can be held back only by running ones, so while none runs there always is one.
    std::optional<std::size_t> NextToStart() const {
        for (std::size_t later = 0; later < states_.size(); ++later) {
            if (states_[later] != TaskState::Waiting) continue;
            bool free = true;
            for (std::size_t earlier = 0; earlier < later && free; ++earlier) {
                free = states_[earlier] == TaskState::Ended || !tasks_.waitsFor(later, earlier);
            }
            if (free) return later;
        }
        return std::nullopt;
    }

    const SideBySideTasks& tasks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TaskState> states_;  // guarded by mutex_, as are the counts
    std::size_t left_;
    std::size_t running_ = 0;
    std::size_t done_ = 0;
    Clock::time_point nextStart_{};  // no task starts before it: the last start's spacing
};

}  // namespace

void RunSideBySide(const SideBySideTasks& tasks, std::size_t jobs) {
    if (tasks.count == 0) return;
    SideBySideRun run(tasks);
    const std::size_t helpers = std::min(std::max<std::size_t>(jobs, 1), tasks.count) - 1;
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back([&run] { run.Work(); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones started share the work
        }
    }
    run.Work();
}  // the helpers are joined here, after the last task has ended

}  // namespace lumaro
