// GB18030 through the system's code page 54936.

#include <windows.h>

#include "platform/shell/text_encoding.h"
#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

namespace {

constexpr UINT kGb18030CodePage = 54936;

}  // namespace

std::optional<std::string> Utf8FromGb18030(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    const int length = static_cast<int>(bytes.size());
    const int characters = MultiByteToWideChar(kGb18030CodePage, MB_ERR_INVALID_CHARS,
                                               bytes.data(), length, nullptr, 0);
    if (characters <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(characters), L'\0');
    MultiByteToWideChar(kGb18030CodePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                        wide.data(), characters);
    return Utf8FromWide(wide);
}

}  // namespace lumaro::platform
