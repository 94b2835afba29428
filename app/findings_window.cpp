#include "app/findings_window.h"

namespace lumaro {

namespace {

// The window's size at 96 DPI, scaled with the owner's font like the dialog: wide enough
// for the netsh commands' lines to show without wrapping on most screens.
constexpr int kWidthUnits = 420;
constexpr int kHeightUnits = 220;
// The verdict's column: a tab stop after it, in dialog units.
constexpr int kVerdictColumnUnits = 36;

LRESULT CALLBACK FindingsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(GetDlgItem(window, kFindingsTextId), 0, 0, LOWORD(lParam), HIWORD(lParam),
                       TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(window, kFindingsTextId));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterFindingsClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FindingsProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFindingsWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly once registered
}

// The last findings window of this owner, if it is still open.
HWND OpenFindingsWindow(HWND owner) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kFindingsWindowClass, nullptr)) != nullptr) {
        if (GetWindow(window, GW_OWNER) == owner) return window;
    }
    return nullptr;
}

}  // namespace

HWND ShowFindingsWindow(HWND owner, HINSTANCE instance, const std::wstring& title,
                        const std::wstring& text) {
    if (const HWND previous = OpenFindingsWindow(owner)) DestroyWindow(previous);
    RegisterFindingsClass(instance);

    RECT size{0, 0, kWidthUnits, kHeightUnits};
    MapDialogRect(owner, &size);
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    const HWND window = CreateWindowExW(
        0, kFindingsWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, ownerRect.left + 24,
        ownerRect.top + 24, size.right, size.bottom, owner, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    RECT client{};
    GetClientRect(window, &client);
    const HWND edit = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE |
            ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        0, 0, client.right, client.bottom, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFindingsTextId)), instance, nullptr);
    SendMessageW(edit, WM_SETFONT, SendMessageW(owner, WM_GETFONT, 0, 0), FALSE);
    int tabStop = kVerdictColumnUnits;
    SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    SetWindowTextW(edit, text.c_str());
    ShowWindow(window, SW_SHOW);
    SetFocus(edit);
    return window;
}

}  // namespace lumaro
