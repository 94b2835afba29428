// The dialog as the procedures on the selected controller see it: the list's selection, the
// web choices, message boxes captioned "Lumaro", the cursor, the search and the selection,
// the typed addresses and the command buttons.

#include <windows.h>


#include "app/control_rules.h"
#include "app/lumaro_dlg.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// The message of the string table that tells `outcome`.
unsigned MessageOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::NoControllerSelected: return IDS_SELECT_CONTROLLER_FIRST;
        case Outcome::WebAccessFailed: return IDS_WEB_ACCESS_FAILED;
        case Outcome::ControllerUnreachable: return IDS_CONTROLLER_UNREACHABLE;
        case Outcome::ClockSet: return IDS_CLOCK_SET;
        case Outcome::ClockNotSet: return IDS_CLOCK_NOT_SET;
        case Outcome::AddressRefused: return IDS_ADDRESS_REFUSED;
    }
    return IDS_CONTROLLER_UNREACHABLE;
}

// Failures carry the exclamation icon; notices (and the request to select a controller
// first) carry none. Every box is system-modal.
UINT MessageFlags(Outcome outcome) {
    return IsFailure(outcome) ? MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL
                              : MB_OK | MB_SYSTEMMODAL;
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

void CLumaroDlg::ShowOutcome(Outcome outcome) {
    MessageBoxW(window_, Text(MessageOf(outcome)).c_str(), Text(IDS_MESSAGE_CAPTION).c_str(),
                MessageFlags(outcome));
}

void CLumaroDlg::ShowWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void CLumaroDlg::ShowArrowCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

void CLumaroDlg::Search() { SearchCommand(); }

void CLumaroDlg::SelectRow(int row) { SelectRowByProgram(row); }

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
