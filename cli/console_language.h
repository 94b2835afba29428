#pragma once
// The language the console speaks: --ui-language when given; otherwise the locale's, from
// the first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set and not empty (LANGUAGE's
// first entry when it lists several): Chinese when it starts with "zh", English for any
// other; with none of them set, the system's own choice (on Windows its display language,
// elsewhere English).

#include <functional>
#include <optional>
#include <string>

#include "texts/language.h"

namespace lumaro {

// The value of an environment variable; nothing when it is not set.
using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

Language ConsoleLanguage(const EnvironmentReader& environment,
                         std::optional<Language> uiLanguageOption, Language systemLanguage);

// The environment of this process.
std::optional<std::string> ProcessEnvironment(const char* name);

// The language of this process's console messages, chosen once at start
// (cli/main.cpp); English until then.
Language MessageLanguage();
void SetMessageLanguage(Language language);

}  // namespace lumaro
