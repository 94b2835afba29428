#include <winsock2.h>
#include <windows.h>

#include <string>

#include "platform/socket_address.h"
#include "platform/trial_socket.h"
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

}  // namespace

SocketError LastSocketError() {
    const int code = WSAGetLastError();
    return {code, ErrorText(code)};
}

TrialSocket::TrialSocket()
    : handle_(static_cast<std::intptr_t>(socket(AF_INET, SOCK_DGRAM, 0))) {}

TrialSocket::~TrialSocket() {
    if (Created()) closesocket(AsSocket(handle_));
}

bool TrialSocket::Created() const { return AsSocket(handle_) != INVALID_SOCKET; }

bool TrialSocket::Bind(Ipv4Address local) {
    const sockaddr_in address = SocketAddress(local, 0);
    return ::bind(AsSocket(handle_), reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) != SOCKET_ERROR;
}

std::uint16_t TrialSocket::LocalPort() const {
    sockaddr_in address{};
    int length = sizeof address;
    if (getsockname(AsSocket(handle_), reinterpret_cast<sockaddr*>(&address), &length) ==
        SOCKET_ERROR) {
        return 0;
    }
    return ntohs(address.sin_port);
}

bool TrialSocket::EnableBroadcast() {
    const DWORD on = 1;
    return setsockopt(AsSocket(handle_), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<const char*>(&on), sizeof on) != SOCKET_ERROR;
}

bool TrialSocket::AskReceiveBuffer(int bytes) {
    return setsockopt(AsSocket(handle_), SOL_SOCKET, SO_RCVBUF,
                      reinterpret_cast<const char*>(&bytes), sizeof bytes) != SOCKET_ERROR;
}

std::optional<int> TrialSocket::ReceiveBufferBytes() const {
    int granted = 0;
    int length = sizeof granted;
    if (getsockopt(AsSocket(handle_), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted),
                   &length) == SOCKET_ERROR) {
        return std::nullopt;
    }
    return granted;
}

}  // namespace lumaro::platform
