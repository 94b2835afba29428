#include "cli/console_dialog.h"

#include "cli/console_texts.h"
#include "link/search.h"

namespace lumaro {

bool ConsoleDialog::SelectSerial(std::uint32_t serial) {
    selectedRow_.reset();
    const ControllerTable& table = link_.Table();
    for (std::size_t k = 0; k < table.count; ++k) {
        if (table.records[k].serial == serial) {
            SelectRow(static_cast<int>(k));
            return true;
        }
    }
    return false;
}

void ConsoleDialog::ShowMessage(unsigned stringId) {
    messages_shown_.push_back(stringId);
    if (messages_ == nullptr) return;
    std::fprintf(messages_, "%s\n", ConsoleText(stringId).c_str());
    std::fflush(messages_);
}

void ConsoleDialog::Search() {
    SearchControllers(link_);
    // As in the window: row 0 is selected after a search that found anything.
    selectedRow_.reset();
    if (link_.Table().count > 0) SelectRow(0);
}

}  // namespace lumaro
