#include "app/window_language.h"

#include <windows.h>

#include <string>

namespace lumaro {

namespace {

constexpr wchar_t kKey[] = L"Software\\Lumaro";
constexpr wchar_t kValue[] = L"Language";
constexpr std::wstring_view kOption = L"/lang:";

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (towlower(text[i]) != towlower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<Language> LanguageOfCommandLine(std::wstring_view commandLine) {
    std::optional<Language> chosen;
    std::size_t start = 0;
    while (start < commandLine.size()) {
        const std::size_t end = std::min(commandLine.find(L' ', start), commandLine.size());
        std::wstring_view word = commandLine.substr(start, end - start);
        if (word.size() >= 2 && word.front() == L'"' && word.back() == L'"') {
            word = word.substr(1, word.size() - 2);
        }
        if (StartsWithIgnoringCase(word, kOption)) {
            if (const auto language = LanguageFromCode(Narrow(word.substr(kOption.size())))) {
                chosen = language;
            }
        }
        start = end + 1;
    }
    return chosen;
}

std::optional<Language> RememberedLanguage() {
    wchar_t code[8] = {};
    DWORD bytes = sizeof code - sizeof(wchar_t);  // room for a terminator of our own
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, &type, code, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return LanguageFromCode(Narrow(code));
}

bool RememberLanguage(Language language) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring code = language == Language::English ? L"en" : L"zh";
    const LONG result =
        RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                       static_cast<DWORD>((code.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

Language StartLanguage(std::wstring_view commandLine) {
    if (const auto chosen = LanguageOfCommandLine(commandLine)) return *chosen;
    return RememberedLanguage().value_or(Language::Chinese);
}

}  // namespace lumaro
