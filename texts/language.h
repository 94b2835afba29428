#pragma once
// The two languages that Lumaro speaks to people. Chinese is the window's own and the
// default wherever nothing says otherwise.

#include <optional>
#include <string_view>

namespace lumaro {

enum class Language { Chinese, English };

// "zh" and "en" (any case), as /lang:, --ui-language and the remembered choice spell them;
// nothing for anything else.
std::optional<Language> LanguageFromCode(std::string_view code);
// "zh" or "en".
std::string_view LanguageCode(Language language);

}  // namespace lumaro
