#pragma once
// The dialog's title: the template caption, "--V" and the product version's first two
// numbers, so that "2.7.3.20701" gives "...--V2.7".

#include <string>
#include <string_view>

namespace lumaro {

// The part of `productVersion` before its second '.', or nothing when it has fewer than
// two: "10.4.1" gives "10.4", "3.1", "3" and "" give "".
std::wstring TitleVersion(std::wstring_view productVersion);

std::wstring TitleWithVersion(std::wstring_view caption, std::wstring_view productVersion);

}  // namespace lumaro
