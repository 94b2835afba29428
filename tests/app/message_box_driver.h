#pragma once
// A message box that the program under test shows: a second top-level dialog of its
// process, read and closed from outside as a user sees and closes it.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace lumaro::apptest {

class MessageBoxDriver {
public:
    // The first message box of the process (a visible dialog other than `mainDialog`) that
    // appears within `patience`; nothing when none does.
    static std::optional<MessageBoxDriver> WaitFor(DWORD processId, HWND mainDialog,
                                                   std::chrono::milliseconds patience);
    // The message box of the process showing now, if any.
    static std::optional<MessageBoxDriver> Find(DWORD processId, HWND mainDialog);

    std::wstring Caption() const;
    std::wstring Text() const;
    bool HasIcon() const;        // a failure's exclamation mark; notices show none
    bool IsSystemModal() const;  // system-modal boxes stay on top of every window
    HWND Owner() const { return GetWindow(box_, GW_OWNER); }

    // Clicks its OK button; returns when the box has handled the click.
    void ClickOk() const;
    // Clicks its OK button by a posted message and returns at once: the box handles the
    // click after whatever was posted to the program before.
    void PostOk() const;

private:
    explicit MessageBoxDriver(HWND box) : box_(box) {}
    HWND box_;
};

// How long a test waits for a message box that a click should bring up: the command
// exchanges frames first.
constexpr std::chrono::seconds kMessagePatience{60};

}  // namespace lumaro::apptest
