#pragma once
// The key presses of a modal dialog's controls, seen by the dialog. While a control has
// the focus its keys go to that control, never to the dialog window; the dialog's message
// loop shows every message to the thread's message filter first (WH_MSGFILTER), which
// hands the dialog the key presses of its controls. The keys then go on as usual.

#include <windows.h>

#include <functional>

namespace lumaro {

class KeyFilter {
public:
    using KeyHandler = std::function<void(UINT message, WPARAM virtualKey)>;

    // Watches WM_KEYDOWN and WM_SYSKEYDOWN to the dialog's child windows, on this thread;
    // one filter per thread. Inert when the filter cannot be installed.
    KeyFilter(HWND dialog, KeyHandler handler);
    ~KeyFilter();
    KeyFilter(const KeyFilter&) = delete;
    KeyFilter& operator=(const KeyFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

    HWND dialog_;
    KeyHandler handler_;
    HHOOK hook_ = nullptr;
};

}  // namespace lumaro
