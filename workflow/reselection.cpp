#include "workflow/reselection.h"

namespace lumaro {

void ReselectBySerial(const ControllerLink& link, ControllerDialog& dialog,
                      std::uint32_t serial) {
    for (int k = 0; k < dialog.RowCount(); ++k) {
        // Row k shows record k; the list never holds more rows than the table has room for.
        if (static_cast<std::size_t>(k) >= ControllerTable::kCapacity) break;
        if (link.Table().records[static_cast<std::size_t>(k)].serial == serial) {
            dialog.SelectRow(k);
        }
    }
}

}  // namespace lumaro
