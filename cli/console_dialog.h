#pragma once
// The console's stand-in for the dialog: the "list" is the link's controller table, the
// selection a row chosen by serial, the web choices come from the command line, and a
// message box is a line on standard error (or only recorded, when `messages` is null).

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "link/controller_link.h"
#include "workflow/controller_dialog.h"

namespace lumaro {

class ConsoleDialog : public ControllerDialog {
public:
    ConsoleDialog(ControllerLink& link, int dateFormatIndex, int webLanguageIndex,
                  std::FILE* messages = stderr)
        : link_(link),
          dateFormatIndex_(dateFormatIndex),
          webLanguageIndex_(webLanguageIndex),
          messages_(messages) {}

    // Selects the row of this serial; false (and nothing selected) when it is not listed.
    bool SelectSerial(std::uint32_t serial);

    std::optional<int> SelectedRow() const override { return selectedRow_; }
    int RowCount() const override { return static_cast<int>(link_.Table().count); }
    int DateFormatIndex() const override { return dateFormatIndex_; }
    int WebLanguageIndex() const override { return webLanguageIndex_; }
    void ShowMessage(unsigned stringId) override;
    void ShowWaitCursor() override {}
    void ShowArrowCursor() override {}
    void Search() override;
    void SelectRow(int row) override { selectedRow_ = row; }

    // The messages shown so far, in order.
    const std::vector<unsigned>& Messages() const { return messages_shown_; }

private:
    ControllerLink& link_;
    int dateFormatIndex_;
    int webLanguageIndex_;
    std::FILE* messages_;
    std::optional<int> selectedRow_;
    std::vector<unsigned> messages_shown_;
};

}  // namespace lumaro
