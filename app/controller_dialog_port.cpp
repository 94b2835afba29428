// The dialog as the procedures on the selected controller see it: the list's selection, the
// web choices, message boxes captioned "Lumaro", the cursor, the search and the selection,
// the typed addresses and the command buttons.

#include <windows.h>

#include "app/control_rules.h"
#include "app/lumaro_dlg.h"
#include "app/window_texts.h"
#include "resources/resource.h"
#include "workflow/outcome_text.h"

namespace lumaro {

namespace {

// Failures carry the exclamation icon; notices (and the request to select a controller
// first) carry none. Every box is system-modal.
UINT MessageFlags(Outcome outcome) {
    return IsFailure(outcome) ? MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL
                              : MB_OK | MB_SYSTEMMODAL;
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

void CLumaroDlg::ShowOutcome(Outcome outcome) {
    ShowMessageText(WindowText(OutcomeText(outcome), language_), MessageFlags(outcome));
}

void CLumaroDlg::ShowMessageText(const std::wstring& text, UINT flags) {
    MessageBoxW(window_, text.c_str(), WindowText(TextId::MessageCaption, language_).c_str(),
                flags);
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
