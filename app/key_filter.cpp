#include "app/key_filter.h"

#include <utility>

namespace lumaro {

namespace {

// The filter procedure gets no context of its own: the thread's one filter.
thread_local KeyFilter* activeFilter = nullptr;

}  // namespace

KeyFilter::KeyFilter(HWND dialog, KeyHandler handler)
    : dialog_(dialog), handler_(std::move(handler)) {
    if (activeFilter != nullptr) return;
    hook_ = SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, GetCurrentThreadId());
    if (hook_ != nullptr) activeFilter = this;
}

KeyFilter::~KeyFilter() {
    if (hook_ == nullptr) return;
    UnhookWindowsHookEx(hook_);
    activeFilter = nullptr;
}

LRESULT CALLBACK KeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && activeFilter != nullptr) {
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        // The dialog window's own keys reach its procedure directly; message boxes run
        // their own loops through this filter, and their keys are not the dialog's.
        if (keyDown && IsChild(activeFilter->dialog_, message.hwnd)) {
            activeFilter->handler_(message.message, message.wParam);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace lumaro
