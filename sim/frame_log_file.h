#pragma once
// lumaro-sim's frame log: one line per frame a controller received, flushed per line so
// that a reader sees each frame as soon as it has arrived:
//   <ms since start> <controller serial> <src ip>:<port> <B|U> <ok|bad> <hex bytes>
// e.g. "1532 100 10.0.1.1:51012 B ok 2410b031010200000000000000ffffffff00000100".

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "sim/simulator.h"

namespace lumaro::sim {

std::string FrameLogLine(const ReceivedFrame& frame, std::chrono::steady_clock::time_point start);

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
