#pragma once
// What the procedures that act on one listed controller need from the window that lists
// them: the selection, the two web choices, what a procedure tells, the cursor, a new search and
// the selection of a row. lumaro.exe implements it with its dialog, the console with the
// controller table; tests with a fake. Row k always shows record k of the link's table.

#include <optional>

#include "workflow/outcome.h"

namespace lumaro {

class ControllerDialog {
public:
    virtual ~ControllerDialog() = default;

    // The first selected row, or nothing when no row is selected.
    virtual std::optional<int> SelectedRow() const = 0;
    virtual int RowCount() const = 0;
    // Indexes of the date-format and web-language choices (0-5 and 0-1).
    virtual int DateFormatIndex() const = 0;
    virtual int WebLanguageIndex() const = 0;

    // Tells the person how the procedure ended (the window: a message box captioned
    // "Lumaro").
    virtual void ShowOutcome(Outcome outcome) = 0;
    virtual void ShowWaitCursor() = 0;
    virtual void ShowArrowCursor() = 0;

    // The search command: rebuilds the sockets, the table and the list, selects row 0.
    virtual void Search() = 0;
    // Selects and focuses row `row`, makes it the selection mark and shows its controller.
    virtual void SelectRow(int row) = 0;
};

}  // namespace lumaro
