#pragma once
// Text in the code page of a Chinese Windows. A spreadsheet there saves CSV in it unless
// told otherwise: GB18030, of which GBK and GB2312 are subsets.

#include <optional>
#include <string>
#include <string_view>

namespace lumaro::platform {

// `bytes` read as GB18030, as UTF-8; nothing when they are not GB18030 text (a byte
// sequence that the code page does not define, or one cut short at the end).
std::optional<std::string> Utf8FromGb18030(std::string_view bytes);

}  // namespace lumaro::platform
