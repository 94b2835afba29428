#include "platform/shell/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace lumaro::platform {

namespace {

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

FileRead ReadFileUpTo(const std::string& utf8Name, std::size_t limit) {
    FileRead read;
    std::FILE* file = OpenFileByUtf8Name(utf8Name, "rb");
    if (file == nullptr) {
        read.error = SystemReason();
        return read;
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        // One byte beyond the limit tells that there is more.
        const std::size_t wanted = std::min(sizeof chunk, limit + 1 - bytes.size());
        const std::size_t n = std::fread(chunk, 1, wanted, file);
        bytes.append(chunk, n);
        if (bytes.size() > limit) {
            read.longerThanLimit = true;
            break;
        }
        if (n < wanted) break;
    }
    const bool failed = std::ferror(file) != 0;
    if (failed) read.error = SystemReason();
    std::fclose(file);
    if (failed || read.longerThanLimit) return read;
    read.bytes = std::move(bytes);
    return read;
}

std::optional<OutputFile> OutputFile::Create(const std::string& utf8Name, std::string& error) {
    std::FILE* file = OpenFileByUtf8Name(utf8Name, "wb");
    if (file == nullptr) {
        error = SystemReason();
        return std::nullopt;
    }
    return OutputFile(file);
}

OutputFile::OutputFile(OutputFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

OutputFile::~OutputFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool OutputFile::WriteAndClose(std::string_view bytes, std::string& error) {
    if (file_ == nullptr) {
        error = "already closed";
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    if (!written) error = SystemReason();
    const bool closed = std::fclose(std::exchange(file_, nullptr)) == 0;
    if (written && !closed) error = SystemReason();
    return written && closed;
}

}  // namespace lumaro::platform
