#include <windows.h>

#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace lumaro::platform

namespace lumaro::platform {

std::optional<std::wstring> WideFromUtf8(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int characters =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (characters <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(characters), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                        characters);
    return wide;
}

}  // namespace lumaro::platform
