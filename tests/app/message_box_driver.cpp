#include "tests/app/message_box_driver.h"

#include <thread>

#include "tools/window-reader/dialog_driver.h"
#include "tools/window-reader/launched_program.h"
#include "tools/window-reader/send_patiently.h"

namespace lumaro::apptest {

namespace {

// The controls of the system's message box: its text and its icon.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;
constexpr std::chrono::milliseconds kPollInterval{50};

}  // namespace

std::optional<MessageBoxDriver> MessageBoxDriver::Find(DWORD processId, HWND mainDialog) {
    for (HWND dialog : ProcessDialogs(processId)) {
        if (dialog != mainDialog) return MessageBoxDriver(dialog);
    }
    return std::nullopt;
}

std::optional<MessageBoxDriver> MessageBoxDriver::WaitFor(DWORD processId, HWND mainDialog,
                                                          std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (auto box = Find(processId, mainDialog)) return box;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(kPollInterval);
    }
}

std::wstring MessageBoxDriver::Caption() const { return WindowText(box_); }

std::wstring MessageBoxDriver::Text() const { return WindowText(GetDlgItem(box_, kMessageTextId)); }

bool MessageBoxDriver::HasIcon() const {
    const HWND icon = GetDlgItem(box_, kMessageIconId);
    return icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
}

bool MessageBoxDriver::IsSystemModal() const {
    return (GetWindowLongW(box_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void MessageBoxDriver::ClickOk() const { SendPatiently(GetDlgItem(box_, IDOK), BM_CLICK, 0, 0); }

}  // namespace lumaro::apptest
