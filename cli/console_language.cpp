#include "cli/console_language.h"

#include <array>
#include <cstdlib>

namespace lumaro {

namespace {

Language current = Language::English;

}  // namespace

Language ConsoleLanguage(const EnvironmentReader& environment,
                         std::optional<Language> uiLanguageOption, Language systemLanguage) {
    if (uiLanguageOption) return *uiLanguageOption;
    constexpr std::array<const char*, 4> kVariables{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* name : kVariables) {
        const std::optional<std::string> value = environment(name);
        if (!value || value->empty()) continue;
        const std::string first = value->substr(0, value->find(':'));
        if (first.empty()) continue;
        return first.rfind("zh", 0) == 0 ? Language::Chinese : Language::English;
    }
    return systemLanguage;
}

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

Language MessageLanguage() { return current; }

void SetMessageLanguage(Language language) { current = language; }

}  // namespace lumaro
