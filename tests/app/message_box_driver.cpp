#include "tests/app/message_box_driver.h"

#include "tests/app/wait_until.h"
#include "tools/window-reader/dialog_driver.h"
#include "tools/window-reader/launched_program.h"
#include "tools/window-reader/send_patiently.h"

namespace lumaro::apptest {

namespace {

// The controls of the system's message box: its text and its icon.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;

}  // namespace

std::optional<MessageBoxDriver> MessageBoxDriver::Find(DWORD processId, HWND mainDialog) {
    for (HWND dialog : ProcessDialogs(processId)) {
        if (dialog != mainDialog) return MessageBoxDriver(dialog);
    }
    return std::nullopt;
}

std::optional<MessageBoxDriver> MessageBoxDriver::WaitFor(DWORD processId, HWND mainDialog,
                                                          std::chrono::milliseconds patience) {
    std::optional<MessageBoxDriver> box;
    WaitUntil([&] { return (box = Find(processId, mainDialog)).has_value(); }, patience);
    return box;
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

void MessageBoxDriver::PostOk() const {
    PostMessageW(box_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box_, IDOK)));
}

}  // namespace lumaro::apptest
