#pragma once
// One owned POSIX file descriptor (a socket, mostly): move-only, closed by the destructor.
// Used by the POSIX platform files and by the simulator. (POSIX only.)

#include <unistd.h>

#include <utility>

namespace lumaro::platform {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    }

private:
    int fd_ = -1;
};

}  // namespace lumaro::platform
