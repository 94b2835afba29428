#include <winsock2.h>
#include <windows.h>

#include <climits>
#include <string>
#include <utility>

#include "platform/socket_address.h"
#include "platform/udp_socket.h"
#include "platform/utf8_win32.h"

namespace lumaro::platform {

namespace {

SOCKET AsSocket(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

// The system's text for a socket error, in the system's language, without its line end.
std::string ErrorText(int code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) return "error " + std::to_string(code);
    std::string utf8 = Utf8FromWide(std::wstring_view(text, length));
    LocalFree(text);
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' ')) {
        utf8.pop_back();
    }
    return utf8;
}

int ClampedLength(std::size_t bytes) {
    return bytes > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes);
}

}  // namespace

std::intptr_t UdpSocket::CreateHandle() {
    const SOCKET handle = socket(AF_INET, SOCK_DGRAM, 0);
    return handle == INVALID_SOCKET ? kNoHandle : static_cast<std::intptr_t>(handle);
}

bool UdpSocket::Bind(Ipv4Address local) const {
    const sockaddr_in sa = SocketAddress(local, 0);
    return bind(AsSocket(handle_), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) !=
           SOCKET_ERROR;
}

bool UdpSocket::MakeBlocking() const {
    u_long nonBlocking = 0;
    return ioctlsocket(AsSocket(handle_), FIONBIO, &nonBlocking) != SOCKET_ERROR;
}

bool UdpSocket::EnableBroadcast() const {
    const DWORD on = 1;
    return setsockopt(AsSocket(handle_), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<const char*>(&on), sizeof on) != SOCKET_ERROR;
}

bool UdpSocket::AskReceiveBuffer(int bytes) const {
    return setsockopt(AsSocket(handle_), SOL_SOCKET, SO_RCVBUF,
                      reinterpret_cast<const char*>(&bytes), sizeof bytes) != SOCKET_ERROR;
}

std::optional<int> UdpSocket::ReceiveBufferBytes() const {
    int granted = 0;
    int length = sizeof granted;
    if (getsockopt(AsSocket(handle_), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted),
                   &length) == SOCKET_ERROR) {
        return std::nullopt;
    }
    return granted;
}

SocketError UdpSocket::LastError() {
    const int code = WSAGetLastError();
    return {code, ErrorText(code)};
}

void UdpSocket::Close() {
    if (handle_ != kNoHandle) closesocket(AsSocket(std::exchange(handle_, kNoHandle)));
}

Readiness UdpSocket::WaitReadable(std::chrono::microseconds timeout) const {
    fd_set readSet;
    FD_ZERO(&readSet);
    FD_SET(AsSocket(handle_), &readSet);
    timeval limit{static_cast<long>(timeout.count() / 1'000'000),
                        static_cast<long>(timeout.count() % 1'000'000)};
    // The first argument is ignored by Winsock.
    const int result = select(0, &readSet, nullptr, nullptr, &limit);
    if (result == SOCKET_ERROR) return Readiness::Failed;
    if (result == 0) return Readiness::Quiet;
    return FD_ISSET(AsSocket(handle_), &readSet) ? Readiness::Readable : Readiness::Failed;
}

bool UdpSocket::SendTo(Ipv4Address destination, std::uint16_t port,
                       std::span<const std::uint8_t> datagram) const {
    const sockaddr_in sa = SocketAddress(destination, port);
    const int length = ClampedLength(datagram.size());
    return sendto(AsSocket(handle_), reinterpret_cast<const char*>(datagram.data()), length, 0,
                  reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == length;
}

std::optional<std::size_t> UdpSocket::Receive(std::span<std::uint8_t> into) const {
    sockaddr_in from{};
    int fromLength = sizeof from;
    // A datagram larger than `into` fails with WSAEMSGSIZE and is dropped by Winsock; the
    // receive after an ICMP "port unreachable" (an earlier unicast to a closed port) fails
    // with WSAECONNRESET, which clears it. Either is a failed receive, which the link passes
    // over without counting the wait. (Wine 8 reports no such ICMP error on an unconnected
    // socket at all.)
    const int received = recvfrom(AsSocket(handle_), reinterpret_cast<char*>(into.data()),
                                  ClampedLength(into.size()), 0,
                                  reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received == SOCKET_ERROR) return std::nullopt;
    return static_cast<std::size_t>(received);
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in sa{};
    int length = sizeof sa;
    if (getsockname(AsSocket(handle_), reinterpret_cast<sockaddr*>(&sa), &length) ==
        SOCKET_ERROR) {
        return 0;
    }
    return ntohs(sa.sin_port);
}

}  // namespace lumaro::platform
