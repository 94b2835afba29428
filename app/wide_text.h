#pragma once
// The link formats its texts in ASCII; the window shows UTF-16.

#include <string>
#include <string_view>

namespace lumaro {

std::wstring WidenAscii(std::string_view text);

}  // namespace lumaro
