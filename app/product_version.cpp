#include "app/product_version.h"

#include <windows.h>

#include <vector>

namespace lumaro {

namespace {

constexpr DWORD kVersionPathCharacters = 520;

struct Translation {
    WORD language;
    WORD codePage;
};

}  // namespace

std::wstring ReadProductVersion() { return ReadVersionString(L"ProductVersion"); }

std::wstring ReadVersionString(const wchar_t* name) {
    wchar_t path[kVersionPathCharacters] = {};
    if (GetModuleFileNameW(nullptr, path, kVersionPathCharacters) == 0) return {};

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data())) return {};

    void* value = nullptr;
    UINT valueBytes = 0;
    if (!VerQueryValueW(block.data(), L"VarFileInfo\\Translation", &value, &valueBytes) ||
        valueBytes < sizeof(Translation)) {
        return {};
    }
    const Translation first = *static_cast<const Translation*>(value);

    wchar_t query[128];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", first.language, first.codePage, name);
    if (!VerQueryValueW(block.data(), query, &value, &valueBytes) || valueBytes == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value));
}

}  // namespace lumaro
