// The dialog as the procedures on the selected controller see it: the list's selection, the
// web choices, message boxes captioned "Lumaro", the cursor, the search and the selection,
// the typed addresses and the command buttons.

#include <windows.h>

#include <array>

#include "app/control_rules.h"
#include "app/lumaro_dlg.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// Failures carry the exclamation icon; notices (and the request to select a controller
// first) carry none. Every box is system-modal.
constexpr std::array<unsigned, 4> kFailureMessages{IDS_WEB_ACCESS_FAILED,
                                                   IDS_CONTROLLER_UNREACHABLE, IDS_CLOCK_NOT_SET,
                                                   IDS_ADDRESS_REFUSED};

UINT MessageFlags(unsigned stringId) {
    for (unsigned failure : kFailureMessages) {
        if (failure == stringId) return MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL;
    }
    return MB_OK | MB_SYSTEMMODAL;
}

int ComboSelection(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

}  // namespace

std::optional<int> CLumaroDlg::SelectedRow() const {
    if (controllerList_.SelectedCount() == 0) return std::nullopt;
    return controllerList_.SelectedRow();
}

int CLumaroDlg::RowCount() const { return controllerList_.RowCount(); }

int CLumaroDlg::DateFormatIndex() const { return ComboSelection(dateFormatCombo_); }

int CLumaroDlg::WebLanguageIndex() const { return ComboSelection(webLanguageCombo_); }

void CLumaroDlg::ShowMessage(unsigned stringId) {
    MessageBoxW(window_, Text(stringId).c_str(), Text(IDS_MESSAGE_CAPTION).c_str(),
                MessageFlags(stringId));
}

void CLumaroDlg::ShowWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void CLumaroDlg::ShowArrowCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

void CLumaroDlg::Search() { SearchCommand(); }

void CLumaroDlg::SelectRow(int row) {
    controllerList_.SelectRow(row);
    SelectController();
}

TypedAddresses CLumaroDlg::ReadTypedAddresses() const {
    return {ipField_.Read(), maskField_.Read(), gatewayField_.Read()};
}

int CLumaroDlg::LastSelectedRow() const { return lastSelectedRow_; }

void CLumaroDlg::EnableCommandButton(CommandButton button, bool enabled) {
    SetCommandButtonEnabled(window_, button, enabled);
}

void CLumaroDlg::ShowHiddenModeButtons() {
    ApplyControlRules(window_, DialogEvent::HiddenModeEntered);
}

}  // namespace lumaro
