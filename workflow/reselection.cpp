#include "workflow/reselection.h"

namespace lumaro {

std::optional<int> RowOfSerial(const ControllerLink& link, const ControllerDialog& dialog,
                               std::uint32_t serial) {
    for (int k = 0; k < dialog.RowCount(); ++k) {
        const ControllerRecord* record = link.Table().RecordOfRow(k);
        if (record == nullptr) break;
        if (record->serial == serial) return k;
    }
    return std::nullopt;
}

void ReselectBySerial(const ControllerLink& link, ControllerDialog& dialog,
                      std::uint32_t serial) {
    for (int k = 0; k < dialog.RowCount(); ++k) {
        const ControllerRecord* record = link.Table().RecordOfRow(k);
        if (record == nullptr) break;
        if (record->serial == serial) dialog.SelectRow(k);
    }
}

}  // namespace lumaro
