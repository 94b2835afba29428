#pragma once
// Memory inside another process. The list control's messages carry pointers that the
// control dereferences in its own process, so a test that drives another program's list
// lays the structures and text buffers down in that program's memory.

#include <windows.h>

#include <cstddef>

namespace lumaro::apptest {

class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // The buffer's address in the other process, for message parameters.
    std::byte* Address() const { return address_; }
    std::size_t Size() const { return bytes_; }

    void Write(std::size_t offset, const void* data, std::size_t bytes) const;
    void Read(std::size_t offset, void* data, std::size_t bytes) const;

    template <class T>
    void Store(std::size_t offset, const T& value) const { Write(offset, &value, sizeof value); }
    template <class T>
    T Load(std::size_t offset) const {
        T value{};
        Read(offset, &value, sizeof value);
        return value;
    }

private:
    HANDLE process_;
    std::size_t bytes_;
    std::byte* address_;
};

}  // namespace lumaro::apptest
