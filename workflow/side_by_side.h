#pragma once
// Runs numbered tasks side by side on a few threads: each starts, in number order, as soon
// as a thread is free and a spacing after the one before, except that a task may have to
// wait for some earlier ones to end. What the batch of one-click procedures uses to overlap
// the procedures' waits.

#include <chrono>
#include <cstddef>
#include <functional>

namespace lumaro {

// Where a run of tasks stands, told as each task ends.
struct SideBySideProgress {
    std::size_t done = 0;     // ended, the one just ended included
    std::size_t running = 0;  // started and not ended
    std::size_t left = 0;     // not started yet
};

struct SideBySideTasks {
    std::size_t count = 0;
    // A task starts at least this long after the task started before it.
    std::chrono::milliseconds spacing{0};
    // Whether task `later` may start only after task `earlier` (earlier < later) has ended.
    std::function<bool(std::size_t later, std::size_t earlier)> waitsFor =
        [](std::size_t, std::size_t) { return false; };
    // Runs one task; called on any of the threads, for each task once.
    std::function<void(std::size_t task)> run;
    // Hears of each task as it ends, one at a time (never twice at once), in the order they
    // end; the next task is not started meanwhile.
    std::function<void(std::size_t task, const SideBySideProgress& progress)> ended =
        [](std::size_t, const SideBySideProgress&) {};
};

// Runs every task, at most `jobs` at a time (at least one), and returns when all have ended.
// The calling thread is one of the threads; with `jobs` 1 the tasks run on it alone, one
// after another in number order. Where the system gives fewer threads than asked, fewer
// tasks run at a time.
void RunSideBySide(const SideBySideTasks& tasks, std::size_t jobs);

}  // namespace lumaro
