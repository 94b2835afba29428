#pragma once
// What a search on the test LAN that listed too few controllers leaves to go on: when the
// controllers read each discovery frame and how many answers had left by the search's end,
// measured from its start, and (natively, where the simulator runs in this process) how
// long this process's other threads waited for a processor meanwhile. A search ends on its
// quiet waits: controllers that read the frames late, or a simulator that waited its turn
// while it owed answers, tell a slow LAN from a lost frame; so do the packets that the
// kernel's per-processor input queues, which every namespace shares, dropped meanwhile.
//
//   SearchWatch watch(lan.AnswersSent());
//   SearchControllers(link);
//   watch.Ended(lan.AnswersSent());
//   EXPECT_EQ(link.Table().count, 3u) << watch.Describe(lan.Log(), link.Table().count);

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <unistd.h>

#include <fstream>
#endif

#include "link/byte_io.h"
#include "link/frame.h"
#include "sim/simulator.h"
#include "tests/lan_fixture.h"

namespace lumaro::testing {

class SearchWatch {
public:
    explicit SearchWatch(std::size_t answersSent)
        : answersAtStart_(answersSent), queueDropsAtStart_(InputQueueDrops()),
          threadsAtStart_(ThreadTimes()), start_(std::chrono::steady_clock::now()) {}

    void Ended(std::size_t answersSent) {
        end_ = std::chrono::steady_clock::now();
        answersAtEnd_ = answersSent;
        queueDropsAtEnd_ = InputQueueDrops();
        threadsAtEnd_ = ThreadTimes();
    }

    // The evidence, given the controllers' log read once they are idle.
    std::string Describe(const std::vector<sim::ReceivedFrame>& log, std::size_t listed) const {
        std::string text = Format("the search took %.3f s and listed %zu controllers; %zu answers "
                                  "had left by its end; the kernel's input queues dropped %llu "
                                  "packets meanwhile.",
                                  Milliseconds(end_) / 1000, listed, answersAtEnd_ - answersAtStart_,
                                  static_cast<unsigned long long>(queueDropsAtEnd_ - queueDropsAtStart_));
        // Each frame of the search by its sequence, in the order the controllers read them.
        std::map<std::uint32_t, std::vector<double>> readAt;
        for (const sim::ReceivedFrame& frame : log) {
            if (frame.at < start_ || frame.bytes.size() < kFrameHeaderBytes) continue;
            readAt[ByteReader(frame.bytes).Le32(kSequenceOffset)].push_back(Milliseconds(frame.at));
        }
        if (readAt.empty()) text += " No controller read a frame after the search began.";
        std::vector<std::pair<std::uint32_t, std::vector<double>>> frames(readAt.begin(), readAt.end());
        for (auto& [sequence, times] : frames) std::sort(times.begin(), times.end());
        std::sort(frames.begin(), frames.end(),
                  [](const auto& a, const auto& b) { return a.second.front() < b.second.front(); });
        for (const auto& [sequence, times] : frames) {
            text += Format(" Frame of sequence %08x: read by %zu, the first at %+.1f ms, half by "
                           "%+.1f ms, the last at %+.1f ms.",
                           sequence, times.size(), times.front(), times[times.size() / 2],
                           times.back());
        }
        for (const auto& [thread, atEnd] : threadsAtEnd_) {
            const auto atStart = threadsAtStart_.find(thread);
            if (atStart == threadsAtStart_.end() || thread == CallingThread()) continue;
            text += Format(" Thread %d ran %.1f ms and waited %.1f ms for a processor during the "
                           "search.",
                           thread, (atEnd.ran - atStart->second.ran) / 1e6,
                           (atEnd.waited - atStart->second.waited) / 1e6);
        }
        return text;
    }

private:
    struct CpuTimes {
        long long ran = 0, waited = 0;  // nanoseconds on a processor and waiting for one
    };

    template <typename... Values>
    static std::string Format(const char* format, Values... values) {
        char text[256];
        std::snprintf(text, sizeof text, format, values...);
        return text;
    }

    // Packets dropped for want of room in the per-processor input queues (the second column
    // of /proc/net/softnet_stat, in hexadecimal, one line per processor).
    static unsigned long long InputQueueDrops() {
        std::istringstream lines(ReadPcFile("/proc/net/softnet_stat"));
        unsigned long long total = 0;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string processed, dropped;
            if (words >> processed >> dropped) total += std::stoull(dropped, nullptr, 16);
        }
        return total;
    }

    double Milliseconds(std::chrono::steady_clock::time_point at) const {
        return std::chrono::duration<double, std::milli>(at - start_).count();
    }

#ifndef _WIN32
    static int CallingThread() { return static_cast<int>(gettid()); }

    // Every thread of this process by id, from the scheduler's statistics.
    static std::map<int, CpuTimes> ThreadTimes() {
        std::map<int, CpuTimes> threads;
        DIR* tasks = opendir("/proc/self/task");
        if (tasks == nullptr) return threads;
        while (const dirent* task = readdir(tasks)) {
            if (task->d_name[0] == '.') continue;
            std::ifstream stat(std::string("/proc/self/task/") + task->d_name + "/schedstat");
            CpuTimes times;
            if (stat >> times.ran >> times.waited) threads[std::stoi(task->d_name)] = times;
        }
        closedir(tasks);
        return threads;
    }
#else
    // The simulator runs beside Wine, in a process of its own.
    static int CallingThread() { return 0; }
    static std::map<int, CpuTimes> ThreadTimes() { return {}; }
#endif

    std::size_t answersAtStart_ = 0, answersAtEnd_ = 0;
    unsigned long long queueDropsAtStart_ = 0, queueDropsAtEnd_ = 0;
    std::map<int, CpuTimes> threadsAtStart_, threadsAtEnd_;
    std::chrono::steady_clock::time_point start_, end_;
};

}  // namespace lumaro::testing
