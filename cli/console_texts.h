#pragma once
// The texts of the program's string table as the console prints them (UTF-8).

#include <string>

namespace lumaro {

// The text of string `stringId` (resources/resource.h); "message N" for an unknown one.
std::string ConsoleText(unsigned stringId);

}  // namespace lumaro
