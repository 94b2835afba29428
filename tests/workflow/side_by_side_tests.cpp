// Tasks side by side: how many run at once, in which order they start, a task held back by
// an earlier one, the spacing between starts and the counts told as each ends. The tasks
// wait on gates that the test opens, never on the clock.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "workflow/side_by_side.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What the tasks did, and gates that hold each task until the test opens it.
class TaskRecord {
public:
    explicit TaskRecord(std::size_t count) : open_(count, false) {}

    // The task's body: notes its start, waits for its gate, notes its end.
    void Run(std::size_t task) {
        std::unique_lock lock(mutex_);
        starts.push_back(task);
        startTimes.push_back(Clock::now());
        threads.insert(std::this_thread::get_id());
        ++running_;
        mostAtOnce = std::max(mostAtOnce, running_);
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_[task]; });
        --running_;
        ends.push_back(task);
    }
    void Open(std::size_t task) {
        const std::lock_guard lock(mutex_);
        open_[task] = true;
        changed_.notify_all();
    }
    void OpenAll() {
        const std::lock_guard lock(mutex_);
        open_.assign(open_.size(), true);
        changed_.notify_all();
    }
    // The scheduler's word that a task has ended.
    void Told(std::size_t task, const SideBySideProgress& progress) {
        const std::lock_guard lock(mutex_);
        toldTasks.push_back(task);
        told.push_back(progress);
        changed_.notify_all();
    }
    // Waits until `count` tasks have started.
    void AwaitStarts(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return starts.size() >= count; });
    }
    // Waits until the scheduler has told of `count` ends.
    void AwaitTold(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return told.size() >= count; });
    }
    bool Started(std::size_t task) {
        const std::lock_guard lock(mutex_);
        return std::find(starts.begin(), starts.end(), task) != starts.end();
    }
    std::set<std::size_t> StartedSet() {
        const std::lock_guard lock(mutex_);
        return {starts.begin(), starts.end()};
    }

    std::vector<std::size_t> starts;  // in the order they started
    std::vector<Clock::time_point> startTimes;
    std::vector<std::size_t> ends;    // in the order they ended
    std::set<std::thread::id> threads;
    std::size_t mostAtOnce = 0;
    std::vector<std::size_t> toldTasks;  // as the scheduler told of their ends
    std::vector<SideBySideProgress> told;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> open_;
    std::size_t running_ = 0;
};

// The tasks end one at a time, in number order, each when the test opens its gate: every
// end lets exactly the next task in number order start.
TEST(SideBySide, AtMostJobsRunAtOnceStartedInNumberOrderWithCountsThatAddUp) {
    const struct {
        std::size_t jobs, count;
    } cases[] = {{1, 4}, {2, 5}, {3, 9}, {8, 8}, {8, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.jobs << " jobs, " << c.count << " tasks");
        TaskRecord record(c.count);
        SideBySideTasks tasks;
        tasks.count = c.count;
        tasks.run = [&](std::size_t task) { record.Run(task); };
        tasks.ended = [&](std::size_t task, const SideBySideProgress& progress) {
            record.Told(task, progress);
        };
        std::thread batch([&] { RunSideBySide(tasks, c.jobs); });
        const std::size_t atOnce = std::min(c.jobs, c.count);
        record.AwaitStarts(atOnce);
        std::set<std::size_t> first;
        for (std::size_t i = 0; i < atOnce; ++i) first.insert(i);
        EXPECT_EQ(record.StartedSet(), first) << "the first ones in number order";
        for (std::size_t task = 0; task < c.count; ++task) {
            record.Open(task);
            record.AwaitTold(task + 1);
            if (atOnce + task < c.count) {
                record.AwaitStarts(atOnce + task + 1);
                EXPECT_TRUE(record.Started(atOnce + task)) << "the next in number order";
            }
        }
        batch.join();

        EXPECT_EQ(record.mostAtOnce, atOnce);
        ASSERT_EQ(record.starts.size(), c.count) << "every task ran once";
        EXPECT_EQ(record.StartedSet().size(), c.count);
        ASSERT_EQ(record.told.size(), c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            EXPECT_EQ(record.toldTasks[i], i) << "told as they ended";
            const SideBySideProgress& progress = record.told[i];
            EXPECT_EQ(progress.done, i + 1);
            EXPECT_EQ(progress.running, std::min(atOnce, c.count - i) - 1);
            EXPECT_EQ(progress.left, c.count - std::min(c.count, atOnce + i));
        }
    }
}

TEST(SideBySide, WithOneJobTheTasksRunOnTheCallingThreadOneAfterAnother) {
    TaskRecord record(5);
    record.OpenAll();
    SideBySideTasks tasks;
    tasks.count = 5;
    tasks.run = [&](std::size_t task) { record.Run(task); };
    RunSideBySide(tasks, 1);
    EXPECT_EQ(record.starts, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(record.ends, record.starts);
    EXPECT_EQ(record.threads, std::set{std::this_thread::get_id()});
    EXPECT_EQ(record.mostAtOnce, 1u);
}

TEST(SideBySide, ATaskHeldBackByAnEarlierOneIsPassedOverUntilThatOneEnds) {
    TaskRecord record(4);
    SideBySideTasks tasks;
    tasks.count = 4;
    tasks.waitsFor = [](std::size_t later, std::size_t earlier) { return later == 2 && earlier == 0; };
    tasks.run = [&](std::size_t task) { record.Run(task); };
    std::thread batch([&] { RunSideBySide(tasks, 3); });

    record.AwaitStarts(3);  // 0, 1 and, passing over 2, 3
    EXPECT_FALSE(record.Started(2)) << "held back while task 0 runs";
    EXPECT_TRUE(record.Started(3));
    record.Open(1);
    record.Open(3);
    record.Open(2);
    record.Open(0);  // only now may 2 start
    batch.join();
    ASSERT_EQ(record.starts.size(), 4u);
    EXPECT_EQ(record.starts.back(), 2u);
    const auto end0 = std::find(record.ends.begin(), record.ends.end(), 0u);
    EXPECT_LT(end0 - record.ends.begin(), 3) << "task 0 ended before task 2 could start and end";
}

TEST(SideBySide, NoTasksNothingRuns) {
    bool ran = false;
    SideBySideTasks tasks;
    tasks.run = [&](std::size_t) { ran = true; };
    RunSideBySide(tasks, 4);
    EXPECT_FALSE(ran);
}

TEST(SideBySide, EachStartComesASpacingAfterTheOneBefore) {
    for (std::size_t jobs : {1u, 4u}) {
        SCOPED_TRACE(testing::Message() << jobs << " jobs");
        TaskRecord record(4);
        record.OpenAll();
        SideBySideTasks tasks;
        tasks.count = 4;
        tasks.spacing = 40ms;
        tasks.run = [&](std::size_t task) { record.Run(task); };
        // A task notes its start a moment after the batch started it, a moment that a busy
        // machine may stretch: the gap between two notes can fall short of the spacing, but
        // the k-th start can never be noted sooner than k spacings after the batch began.
        const auto began = Clock::now();
        RunSideBySide(tasks, jobs);
        ASSERT_EQ(record.startTimes.size(), 4u);
        for (std::size_t k = 1; k < record.startTimes.size(); ++k) {
            EXPECT_GE(record.startTimes[k] - began, k * 40ms) << "start " << k;
        }
    }
}

}  // namespace
}  // namespace lumaro
