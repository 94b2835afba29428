#pragma once
// Whether this Windows program runs under Wine rather than on Windows: Wine's ntdll alone
// exports wine_get_version.

#include <windows.h>

namespace lumaro::apptest {

inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace lumaro::apptest
