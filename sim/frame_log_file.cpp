#include "sim/frame_log_file.h"

#include <unistd.h>

namespace lumaro::sim {

std::unique_ptr<FrameLogFile> FrameLogFile::Create(const std::string& path,
                                                   std::chrono::steady_clock::time_point start) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return nullptr;
    return std::unique_ptr<FrameLogFile>(new FrameLogFile(file, start));
}

FrameLogFile::~FrameLogFile() { std::fclose(file_); }

void FrameLogFile::Write(const ReceivedFrame& frame) {
    const std::string line = FrameLogLine(frame, start_) + "\n";
    std::lock_guard lock(mutex_);
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

void FrameLogFile::Clear() {
    std::lock_guard lock(mutex_);
    std::fflush(file_);
    [[maybe_unused]] int ignored = ::ftruncate(::fileno(file_), 0);
    std::rewind(file_);
}

}  // namespace lumaro::sim
