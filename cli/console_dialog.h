#pragma once
// The console's stand-in for the dialog: the "list" is the link's controller table, the
// selection a row chosen by serial, the web choices and the typed addresses come from the
// command line, and a message box is a line on standard error (or only recorded, when
// `messages` is null). It has no buttons to enable or show.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "link/controller_link.h"
#include "workflow/command_dialog.h"

namespace lumaro {

class ConsoleDialog : public CommandDialog {
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
    void ShowOutcome(Outcome outcome) override;
    void ShowWaitCursor() override {}
    void ShowArrowCursor() override {}
    void Search() override;
    void SelectRow(int row) override { selectedRow_ = lastSelectedRow_ = row; }
    TypedAddresses ReadTypedAddresses() const override { return typedAddresses_; }
    int LastSelectedRow() const override { return lastSelectedRow_; }
    void EnableCommandButton(CommandButton, bool) override {}
    void ShowHiddenModeButtons() override {}

    void SetTypedAddresses(const TypedAddresses& addresses) { typedAddresses_ = addresses; }

    // What the procedures told so far, in order.
    const std::vector<Outcome>& Told() const { return told_; }

private:
    ControllerLink& link_;
    int dateFormatIndex_;
    int webLanguageIndex_;
    std::FILE* messages_;
    std::optional<int> selectedRow_;
    int lastSelectedRow_ = -1;  // as in the window: the row last selected, kept across searches
    TypedAddresses typedAddresses_;
    std::vector<Outcome> told_;
};

}  // namespace lumaro
