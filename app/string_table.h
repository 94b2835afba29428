#pragma once
// Texts of the program's string table (resources/lumaro.rc).

#include <windows.h>

#include <string>

namespace lumaro {

// The string with this identifier from the module's string table; empty when it is missing.
std::wstring LoadText(HINSTANCE module, UINT id);

}  // namespace lumaro
