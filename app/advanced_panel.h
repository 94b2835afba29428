#pragma once
// The advanced panel: AdvancedButton shows it by widening the dialog and moving the list and
// the bottom buttons to the right, and hides it by the reverse moves. It starts hidden.

#include <windows.h>

#include <functional>
#include <string>

#include "app/pixel_scale.h"

namespace lumaro {

class AdvancedPanel {
public:
    bool Shown() const { return shown_; }
    // Shows the panel when hidden, hides it when shown: the dialog's width, the list's and
    // the bottom buttons' places, the panel's controls and the toggle button's text (`text`
    // gives a string's text by its id).
    void Toggle(HWND dialog, HWND list, PixelScale scale,
                const std::function<std::wstring(unsigned stringId)>& text);
    // The string id of the toggle button's text for the panel's present state.
    unsigned ToggleTextId() const;

private:
    bool shown_ = false;
};

}  // namespace lumaro
