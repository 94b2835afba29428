#pragma once
// What every command on the listed controller does first and last: choose the row it acts
// on (Outcome::NoControllerSelected and nothing else when there is none), then show the
// wait cursor and disable its own button until it ends, on every path.

#include <optional>

#include "workflow/command_dialog.h"
#include "workflow/wait_cursor.h"

namespace lumaro {

enum class RowChoice {
    Selected,                // the selected row only
    SelectedOrLastSelected,  // else the row the panel last showed, while it is still listed
};

class CommandRun {
public:
    // The run on the chosen row; nothing (after NoControllerSelected) when no row qualifies.
    static std::optional<CommandRun> Start(CommandDialog& dialog, CommandButton button,
                                           RowChoice choice);
    CommandRun(CommandRun&& other) noexcept;
    CommandRun(const CommandRun&) = delete;
    CommandRun& operator=(const CommandRun&) = delete;
    CommandRun& operator=(CommandRun&&) = delete;
    ~CommandRun() { End(); }

    int Row() const { return row_; }
    // Shows the arrow cursor and enables the button again now (before a search that
    // follows, or what the command tells); later calls do nothing.
    void End();

private:
    CommandRun(CommandDialog& dialog, CommandButton button, int row);

    CommandDialog* dialog_;  // null once ended
    CommandButton button_;
    int row_;
    WaitCursor waitCursor_;
};

}  // namespace lumaro
