#pragma once
// The window's messages as the console prints them (UTF-8), from the same catalogue as the
// window's, in the console's language (cli/console_language.h).

#include <string>

#include "texts/language.h"

namespace lumaro {

// The text of message `stringId` (resources/resource.h) in `language`; "message N" for an
// unknown one.
std::string ConsoleText(unsigned stringId, Language language);
// The same in the console's language.
std::string ConsoleText(unsigned stringId);

}  // namespace lumaro
