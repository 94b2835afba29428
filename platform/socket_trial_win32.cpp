#include <winsock2.h>
#include <windows.h>

#include <string>

#include "platform/socket_owner_win32.h"
#include "platform/socket_trial.h"
#include "platform/udp_socket.h"
#include "platform/utf8_win32.h"

namespace lumaro::platform {

namespace {

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

// Records the outcome of one step; true when it succeeded.
bool Record(SocketStep& step, bool succeeded) {
    step.tried = true;
    step.succeeded = succeeded;
    if (!succeeded) {
        step.errorCode = WSAGetLastError();
        step.error = ErrorText(step.errorCode);
    }
    return succeeded;
}

}  // namespace

BroadcastSocketTrial TryBroadcastSocket(Ipv4Address local) {
    BroadcastSocketTrial trial;
    const SocketOwner owner(socket(AF_INET, SOCK_DGRAM, 0));
    if (!Record(trial.create, owner.Valid())) return trial;
    const SOCKET handle = owner.Get();

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = local;  // already first octet in the lowest byte
    if (!Record(trial.bind, ::bind(handle, reinterpret_cast<const sockaddr*>(&address),
                                   sizeof address) != SOCKET_ERROR)) {
        return trial;
    }
    int length = sizeof address;
    if (getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != SOCKET_ERROR) {
        trial.localPort = ntohs(address.sin_port);
    }
    const DWORD on = 1;
    if (!Record(trial.broadcast, setsockopt(handle, SOL_SOCKET, SO_BROADCAST,
                                            reinterpret_cast<const char*>(&on),
                                            sizeof on) != SOCKET_ERROR)) {
        return trial;
    }
    const int asked = kBroadcastReceiveBufferBytes;
    Record(trial.receiveBuffer,
           setsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&asked),
                      sizeof asked) != SOCKET_ERROR);
    int granted = 0;
    length = sizeof granted;
    if (getsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length) !=
        SOCKET_ERROR) {
        trial.receiveBufferBytes = granted;
    }
    return trial;
}

}  // namespace lumaro::platform
