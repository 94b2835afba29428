#pragma once
// One owned file descriptor of the POSIX platform files (a socket, mostly): the destructor
// closes it. (POSIX files only.)

#include <unistd.h>

namespace lumaro::platform {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace lumaro::platform
