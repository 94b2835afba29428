#include "workflow/command_run.h"

#include <utility>

#include "link/controller_record.h"

namespace lumaro {

namespace {

std::optional<int> ChooseRow(const CommandDialog& dialog, RowChoice choice) {
    std::optional<int> row = dialog.SelectedRow();
    if (!row && choice == RowChoice::SelectedOrLastSelected) {
        const int last = dialog.LastSelectedRow();
        if (dialog.RowCount() > 0 && last >= 0 && last < dialog.RowCount()) row = last;
    }
    if (row && !ControllerTable::HasRoomForRow(*row)) row.reset();
    return row;
}

}  // namespace

std::optional<CommandRun> CommandRun::Start(CommandDialog& dialog, CommandButton button,
                                            RowChoice choice) {
    const std::optional<int> row = ChooseRow(dialog, choice);
    if (!row) {
        dialog.ShowOutcome(Outcome::NoControllerSelected);
        return std::nullopt;
    }
    return CommandRun(dialog, button, *row);
}

CommandRun::CommandRun(CommandDialog& dialog, CommandButton button, int row)
    : dialog_(&dialog), button_(button), row_(row), waitCursor_(dialog) {
    dialog_->EnableCommandButton(button_, false);
}

CommandRun::CommandRun(CommandRun&& other) noexcept
    : dialog_(std::exchange(other.dialog_, nullptr)),
      button_(other.button_),
      row_(other.row_),
      waitCursor_(std::move(other.waitCursor_)) {}

void CommandRun::End() {
    if (dialog_ == nullptr) return;
    waitCursor_.End();
    std::exchange(dialog_, nullptr)->EnableCommandButton(button_, true);
}

}  // namespace lumaro
