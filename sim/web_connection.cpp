#include "sim/web_connection.h"

#include <sys/socket.h>

#include <cerrno>

namespace lumaro::sim {
namespace {
constexpr std::size_t kLargestRequest = 16384;  // more than this is not worth waiting for
}

std::string WebResponse(std::uint32_t serial) {
    const std::string body = "<html><body>Controller " + std::to_string(serial) + "</body></html>";
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

bool WebConnection::OnReadable() {
    char chunk[2048];
    for (;;) {
        const ssize_t n = ::recv(socket_.Get(), chunk, sizeof chunk, 0);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        request_.append(chunk, static_cast<std::size_t>(n));
        if (request_.find("\r\n\r\n") != std::string::npos || request_.find("\n\n") != std::string::npos ||
            request_.size() > kLargestRequest) {
            const std::string response = WebResponse(serial_);
            // A few hundred bytes always fit in a fresh socket's send buffer.
            ::send(socket_.Get(), response.data(), response.size(), MSG_NOSIGNAL);
            ::shutdown(socket_.Get(), SHUT_WR);
            return false;
        }
    }
}

}  // namespace lumaro::sim
