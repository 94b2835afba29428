#include "cli/console_dialog.h"

#include "cli/console_texts.h"
#include "link/search.h"
#include "workflow/reselection.h"

namespace lumaro {

bool ConsoleDialog::SelectSerial(std::uint32_t serial) {
    selectedRow_.reset();
    const std::optional<int> row = RowOfSerial(link_, *this, serial);
    if (row) SelectRow(*row);
    return row.has_value();
}

void ConsoleDialog::ShowOutcome(Outcome outcome) {
    told_.push_back(outcome);
    if (messages_ == nullptr) return;
    std::fprintf(messages_, "%s\n", ConsoleText(outcome).c_str());
    std::fflush(messages_);
}

void ConsoleDialog::Search() {
    SearchControllers(link_);
    // As in the window: row 0 is selected after a search that found anything.
    selectedRow_.reset();
    if (link_.Table().count > 0) SelectRow(0);
}

}  // namespace lumaro
