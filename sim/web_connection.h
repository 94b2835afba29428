#pragma once
// One accepted connection to a controller's web server: it reads the request and answers
// with a small HTTP/1.0 page, then the connection is closed.

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/net/descriptor_posix.h"

namespace lumaro::sim {

std::string WebResponse(std::uint32_t serial);

class WebConnection {
public:
    WebConnection(platform::Descriptor socket, std::uint32_t serial,
                  std::chrono::steady_clock::time_point deadline)
        : socket_(std::move(socket)), serial_(serial), deadline_(deadline) {}

    int Socket() const { return socket_.Get(); }
    std::chrono::steady_clock::time_point Deadline() const { return deadline_; }

    // Reads what has arrived; answers once the request's header is complete. False when
    // the connection is finished (answered, closed by the peer, or failed).
    bool OnReadable();

private:
    platform::Descriptor socket_;
    std::uint32_t serial_;
    std::chrono::steady_clock::time_point deadline_;
    std::string request_;
};

}  // namespace lumaro::sim
