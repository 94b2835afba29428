#pragma once
// A read-only, resizable text window owned by the main dialog, whose text can be selected
// and copied: the doctor's findings of "why is a controller missing?". One at a time: a new
// one replaces the last.

#include <windows.h>

#include <string>

namespace lumaro {

// The window's class, and its text's control (for tests that read it from outside).
inline constexpr wchar_t kFindingsWindowClass[] = L"LumaroFindings";
constexpr int kFindingsTextId = 100;

// Shows `text` (lines ended by CR LF; a tab between a verdict and its finding) in a new
// window in front of `owner`, in the owner's font; gives the window.
HWND ShowFindingsWindow(HWND owner, HINSTANCE instance, const std::wstring& title,
                        const std::wstring& text);

}  // namespace lumaro
