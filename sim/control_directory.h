#pragma once
// The command mailbox of lumaro-sim: another program (for instance a Windows-side test
// under Wine, through its Z: drive) puts one line into DIR/command; lumaro-sim takes it,
// deletes it, runs it and answers in DIR/reply ("ok" or "error <reason>"), written to
// DIR/reply.tmp first and renamed, so the reply never appears half written.
// Writers should do the same (write DIR/command.tmp, rename to DIR/command).

#include <optional>
#include <string>

namespace lumaro::sim {

class ControlDirectory {
public:
    explicit ControlDirectory(std::string directory) : directory_(std::move(directory)) {}

    // The waiting command's line, taken out of the directory (and any old reply with it),
    // or nothing when no command waits.
    std::optional<std::string> TakeCommand() const;
    // false when the reply could not be written.
    bool Reply(const std::string& text) const;

private:
    std::string directory_;
};

}  // namespace lumaro::sim
