#pragma once
// Windows gives its texts in UTF-16; the console program prints UTF-8. (Win32 files only.)

#include <optional>
#include <string>
#include <string_view>

namespace lumaro::platform {

std::string Utf8FromWide(std::wstring_view text);
// UTF-8 as UTF-16, for the system's wide-character calls; nothing when it is not UTF-8.
std::optional<std::wstring> WideFromUtf8(std::string_view text);

}  // namespace lumaro::platform
