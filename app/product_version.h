#pragma once
// The product version that the running executable's version block carries.

#include <string>

namespace lumaro {

// ProductVersion of the first translation of the running executable's version block, or an
// empty string when the block is missing, unreadable or has no such value.
std::wstring ReadProductVersion();

// Any string of that block by its name ("ProductVersion", "Commit"), the same way.
std::wstring ReadVersionString(const wchar_t* name);

}  // namespace lumaro
