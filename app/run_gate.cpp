#include "app/run_gate.h"

#include <utility>

namespace lumaro {

namespace {

// A click of a button, or Enter and Esc (IDOK, IDCANCEL), which end the dialog; or one of
// the window's own items of its system menu, which open windows or re-text this one.
bool StartsOrEndsWork(UINT message, WPARAM wParam) {
    if (message == WM_CLOSE) return true;
    if (message == WM_SYSCOMMAND) return (wParam & 0xFFF0) < 0xF000;  // the system's own: 0xF000+
    if (message != WM_COMMAND) return false;
    const int id = LOWORD(wParam);
    return id == IDOK || id == IDCANCEL || HIWORD(wParam) == BN_CLICKED;
}

}  // namespace

bool RunGate::KeepForLater(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Running() || !StartsOrEndsWork(message, wParam)) return false;
    MSG kept{};
    kept.hwnd = window;
    kept.message = message;
    kept.wParam = wParam;
    kept.lParam = lParam;
    kept_.push_back(kept);
    return true;
}

void RunGate::Leave() {
    if (--depth_ > 0) return;
    if (const std::optional<std::uint32_t> serial = std::exchange(selection_, std::nullopt)) {
        selectSerial_(*serial);
    }
    for (const MSG& message : std::exchange(kept_, {})) {
        PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
    }
}

bool IsClickOfDisabledButton(HWND dialog, UINT message, WPARAM wParam) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    const HWND button = GetDlgItem(dialog, LOWORD(wParam));
    return button != nullptr && !IsWindowEnabled(button);
}

}  // namespace lumaro
