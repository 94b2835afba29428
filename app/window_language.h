#pragma once
// Which language the window speaks: Chinese unless the technician chose English. The choice
// made in the system menu is remembered for the Windows user (HKCU\Software\Lumaro, value
// Language: "zh" or "en"); /lang:en or /lang:zh on the command line chooses for one run
// without storing anything.

#include <optional>
#include <string_view>

#include "texts/language.h"

namespace lumaro {

// The language a /lang: argument of this command line names; nothing when there is none
// or it names no language of ours (the last one counts).
std::optional<Language> LanguageOfCommandLine(std::wstring_view commandLine);

// The language remembered for this user; nothing when the value is missing, unreadable or
// unknown.
std::optional<Language> RememberedLanguage();
// Stores the choice for this user; false when it could not be written.
bool RememberLanguage(Language language);

// The language of this run: /lang: first, then the remembered choice, else Chinese.
Language StartLanguage(std::wstring_view commandLine);

}  // namespace lumaro
