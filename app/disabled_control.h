#pragma once
// A control disabled for as long as the object lives, enabled again however the scope ends.

#include <windows.h>

namespace lumaro {

class DisabledControl {
public:
    explicit DisabledControl(HWND control) : control_(control) { EnableWindow(control_, FALSE); }
    ~DisabledControl() { EnableWindow(control_, TRUE); }
    DisabledControl(const DisabledControl&) = delete;
    DisabledControl& operator=(const DisabledControl&) = delete;

private:
    HWND control_;
};

}  // namespace lumaro
