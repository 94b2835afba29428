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

namespace lumaro {

void CLumaroDlg::SearchCommand() {
    ShowWaitCursor();
    controllerList_.DeleteAllRows();
    ApplyControlRules(window_, DialogEvent::SearchStarted);
    ipField_.Clear();
    maskField_.Clear();
    gatewayField_.Clear();
    SetWindowTextW(serialEdit_, L"");
    UpdateWindow(window_);

    SearchControllers(link_);
    ShowControllerRows();

    if (controllerList_.RowCount() > 0) {
        controllerList_.SelectRow(0);
        SelectController();
    }
    ShowArrowCursor();
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
