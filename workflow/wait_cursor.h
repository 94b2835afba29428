#pragma once
// The wait cursor while a procedure works: shown when the object is made, the arrow back
// when it goes or at End(), whichever comes first, so that every way out restores it. A
// procedure ends it early where the arrow must come back first (before what it tells, or
// before a search that shows its own).

#include <utility>

#include "workflow/controller_dialog.h"

namespace lumaro {

class WaitCursor {
public:
    explicit WaitCursor(ControllerDialog& dialog) : dialog_(&dialog) { dialog_->ShowWaitCursor(); }
    WaitCursor(WaitCursor&& other) noexcept : dialog_(std::exchange(other.dialog_, nullptr)) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    WaitCursor& operator=(WaitCursor&&) = delete;
    ~WaitCursor() { End(); }

    // Shows the arrow now; later calls do nothing.
    void End() {
        if (dialog_ != nullptr) std::exchange(dialog_, nullptr)->ShowArrowCursor();
    }

private:
    ControllerDialog* dialog_;
};

}  // namespace lumaro
