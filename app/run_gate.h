#pragma once
// What reaches the dialog while one of its commands runs. A command (a search, the
// one-click, a panel command) blocks the dialog's thread, but it is still on the stack
// whenever that thread looks at its messages: a beat of the queue, or the loop of a message
// box that the command shows. Whatever would start or end work there is kept for the
// outermost run's end: a click of an enabled button, Enter or Esc, a close request, a
// selection of another row (which would refill the panel and enable its buttons under the
// command), an item of the window's own in its system menu (a language, the findings, save
// list, about). Clicks from buttons that are disabled when the click is handled are dropped by
// the dialog, run or not: a user cannot click them, only another program posts them.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace lumaro {

class RunGate {
public:
    // `selectSerial` selects the row of a serial (when it is listed) once a run has ended.
    explicit RunGate(std::function<void(std::uint32_t serial)> selectSerial)
        : selectSerial_(std::move(selectSerial)) {}

    // One run, for as long as it lives; runs may nest (a search inside a command).
    class Run {
    public:
        explicit Run(RunGate& gate) : gate_(gate) { ++gate_.depth_; }
        ~Run() { gate_.Leave(); }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

    private:
        RunGate& gate_;
    };

    bool Running() const { return depth_ > 0; }

    // Keeps `message` for the end of the run when it would start or end work; true when
    // kept (the dialog then handles it no further for now).
    bool KeepForLater(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Another row became selected during the run: the panel shows it after the run.
    void KeepSelection(std::uint32_t serial) { selection_ = serial; }

private:
    // At the end of the outermost run: selects the kept row, then posts the kept messages
    // again, in the order they came, for the dialog's own loop.
    void Leave();

    std::function<void(std::uint32_t)> selectSerial_;
    int depth_ = 0;
    std::vector<MSG> kept_;
    std::optional<std::uint32_t> selection_;
};

// A BN_CLICKED (WM_COMMAND) from one of `dialog`'s buttons that is disabled now.
bool IsClickOfDisabledButton(HWND dialog, UINT message, WPARAM wParam);

}  // namespace lumaro
