#pragma once
// lumaro-sim's frame log: one line per frame a controller received (sim/frame_log_line.h),
// flushed per line so that a reader sees each frame as soon as it has arrived.

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "sim/frame_log_line.h"

namespace lumaro::sim {

class FrameLogFile {
public:
    // nullptr when the file cannot be created.
    static std::unique_ptr<FrameLogFile> Create(const std::string& path,
                                                std::chrono::steady_clock::time_point start);
    ~FrameLogFile();
    FrameLogFile(const FrameLogFile&) = delete;
    FrameLogFile& operator=(const FrameLogFile&) = delete;

    void Write(const ReceivedFrame& frame);  // from the simulator's service thread
    void Clear();                            // empties the file

private:
    FrameLogFile(std::FILE* file, std::chrono::steady_clock::time_point start)
        : file_(file), start_(start) {}
    std::mutex mutex_;
    std::FILE* file_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace lumaro::sim
