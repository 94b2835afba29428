#pragma once
// The link formats its texts in ASCII; the window shows UTF-16.

#include <string>
#include <string_view>

namespace lumaro {

std::wstring WidenAscii(std::string_view text);

}  // namespace lumaro

namespace lumaro {

// A UTF-8 text (the catalogue's) as the window shows it.
std::wstring WidenUtf8(std::string_view text);

}  // namespace lumaro
