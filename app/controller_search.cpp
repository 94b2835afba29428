// The controller list: the search that fills it and the selection that shows a controller
// in the panel.

#include <windows.h>

#include "app/control_rules.h"
#include "app/controller_row_text.h"
#include "app/lumaro_dlg.h"
#include "app/wide_text.h"
#include "app/window_texts.h"
#include "link/controller_text.h"
#include "link/search.h"
#include "resources/resource.h"
#include "workflow/reselection.h"
#include "workflow/wait_cursor.h"

namespace lumaro {

void CLumaroDlg::SearchCommand() {
    WaitCursor waitCursor(*this);
    controllerList_.DeleteAllRows();
    ApplyControlRules(window_, DialogEvent::SearchStarted);
    ipField_.Clear();
    maskField_.Clear();
    gatewayField_.Clear();
    SetWindowTextW(serialEdit_, L"");
    UpdateWindow(window_);

    SearchControllers(link_);
    ShowControllerRows();

    if (controllerList_.RowCount() > 0) SelectRowByProgram(0);
}

void CLumaroDlg::ShowControllerRows() {
    const std::wstring webEnabled = WindowText(TextId::WebEnabled, language_);
    const std::wstring webNotEnabled = WindowText(TextId::WebNotEnabled, language_);
    const ControllerTable& table = link_.Table();
    for (std::size_t k = 0; k < table.count; ++k) {
        const auto texts = ControllerRowTexts(table.records[k], webEnabled, webNotEnabled);
        const int row = controllerList_.InsertRow(static_cast<int>(k), texts[0]);
        for (std::size_t column = 1; column < texts.size(); ++column) {
            controllerList_.SetCellText(row, static_cast<int>(column), texts[column]);
        }
    }
}

void CLumaroDlg::OnRowSelected(int row) {
    // The program's own selection (a search, the reselection after a command) shows at
    // once; another's waits until the command that runs has ended.
    if (runs_.Running() && !selectingByProgram_) {
        if (const ControllerRecord* record = link_.Table().RecordOfRow(row)) {
            runs_.KeepSelection(record->serial);
        }
        return;
    }
    SelectController();
}

void CLumaroDlg::SelectRowByProgram(int row) {
    selectingByProgram_ = true;
    controllerList_.SelectRow(row);
    selectingByProgram_ = false;
    SelectController();
}

void CLumaroDlg::SelectSerial(std::uint32_t serial) {
    if (const std::optional<int> row = RowOfSerial(link_, *this, serial)) SelectRowByProgram(*row);
}

void CLumaroDlg::SelectController() {
    if (controllerList_.SelectedCount() == 0) return;  // the panel keeps what it shows
    const int row = controllerList_.SelectedRow();
    const ControllerRecord* shown = link_.Table().RecordOfRow(row);
    if (shown == nullptr) return;
    lastSelectedRow_ = row;

    const ControllerRecord& record = *shown;
    ipField_.Show(record.ip);
    maskField_.Show(record.mask);
    gatewayField_.Show(record.gateway);
    SetWindowTextW(serialEdit_, WidenAscii(FormatSerial(record.serial)).c_str());
    ApplyControlRules(window_, DialogEvent::ControllerSelected);
}

}  // namespace lumaro
