// The dialog as the procedures on the selected controller see it: the list's selection, the
// web choices, message boxes captioned "Lumaro", the cursor, the search and the selection,
// the typed addresses and the command buttons.

#include <windows.h>

#include <array>

#include "app/control_rules.h"
#include "app/lumaro_dlg.h"
#include "app/window_texts.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// Failures carry the exclamation icon; notices (and the request to select a controller
// first) carry none. Every box is system-modal.
constexpr std::array<unsigned, 4> kFailureMessages{IDS_WEB_ACCESS_FAILED,
                                                   IDS_CONTROLLER_UNREACHABLE, IDS_CLOCK_NOT_SET,
                                                   IDS_ADDRESS_REFUSED};

// The catalogue's text of a message of the string table.
TextId MessageText(unsigned stringId) {
    switch (stringId) {
        case IDS_WEB_ACCESS_FAILED: return TextId::WebAccessFailed;
        case IDS_CONTROLLER_UNREACHABLE: return TextId::ControllerUnreachable;
        case IDS_SELECT_CONTROLLER_FIRST: return TextId::SelectControllerFirst;
        case IDS_CLOCK_SET: return TextId::ClockSet;
        case IDS_CLOCK_NOT_SET: return TextId::ClockNotSet;
        case IDS_ADDRESS_REFUSED: return TextId::AddressRefused;
        default: return TextId::MessageCaption;
    }
}

UINT MessageFlags(unsigned stringId) {
    for (unsigned failure : kFailureMessages) {
        if (failure == stringId) return MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL;
    }
    return MB_OK | MB_SYSTEMMODAL;
}

// The selected item's meaning, which it carries as item data: the same choice gives the same
// value whatever the window's language and however the box orders its items.
int ComboSelection(HWND combo) {
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return static_cast<int>(selected);
    return static_cast<int>(SendMessageW(combo, CB_GETITEMDATA, selected, 0));
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
    ShowMessageText(WindowText(MessageText(stringId), language_), MessageFlags(stringId));
}

void CLumaroDlg::ShowMessageText(const std::wstring& text, UINT flags) {
    MessageBoxW(window_, text.c_str(), WindowText(TextId::MessageCaption, language_).c_str(),
                flags);
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
