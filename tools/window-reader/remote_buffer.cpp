#include "tools/window-reader/remote_buffer.h"

#include <stdexcept>
#include <string>

namespace lumaro::apptest {

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t bytes)
    : process_(process),
      bytes_(bytes),
      address_(static_cast<std::byte*>(
          VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {
    if (address_ == nullptr) {
        throw std::runtime_error("VirtualAllocEx failed, error " + std::to_string(GetLastError()));
    }
}

RemoteBuffer::~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

void RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t bytes) const {
    if (offset + bytes > bytes_) throw std::out_of_range("write past the remote buffer");
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_, address_ + offset, data, bytes, &written) ||
        written != bytes) {
        throw std::runtime_error("WriteProcessMemory failed, error " +
                                 std::to_string(GetLastError()));
    }
}

void RemoteBuffer::Read(std::size_t offset, void* data, std::size_t bytes) const {
    if (offset + bytes > bytes_) throw std::out_of_range("read past the remote buffer");
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, address_ + offset, data, bytes, &read) || read != bytes) {
        throw std::runtime_error("ReadProcessMemory failed, error " +
                                 std::to_string(GetLastError()));
    }
}

}  // namespace lumaro::apptest
