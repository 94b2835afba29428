#include "texts/language.h"

namespace lumaro {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != b[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<Language> LanguageFromCode(std::string_view code) {
    if (SameIgnoringCase(code, "zh")) return Language::Chinese;
    if (SameIgnoringCase(code, "en")) return Language::English;
    return std::nullopt;
}

std::string_view LanguageCode(Language language) {
    return language == Language::English ? "en" : "zh";
}

}  // namespace lumaro
