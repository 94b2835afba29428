#pragma once
// Windows gives its texts in UTF-16; the console program prints UTF-8. (Win32 files only.)

#include <string>
#include <string_view>

namespace lumaro::platform {

std::string Utf8FromWide(std::wstring_view text);

}  // namespace lumaro::platform
