#pragma once
// Reads and drives another program's dialog from outside, through its controls, as a
// user would: texts, positions, visibility, enabled state, buttons, keys.

#include <windows.h>

#include <string>
#include <vector>

#include "tools/window-reader/list_view_driver.h"

namespace lumaro::apptest {

// What an IPv4 address field holds: how many of its four parts are filled, and the
// address with the first octet in the most significant byte.
struct AddressFieldContent {
    int filledParts = 0;
    DWORD address = 0;
};

// An address as the IPv4 address fields hold it: first octet in the most significant byte.
constexpr DWORD FieldAddress(BYTE a, BYTE b, BYTE c, BYTE d) {
    return (DWORD{a} << 24) | (DWORD{b} << 16) | (DWORD{c} << 8) | DWORD{d};
}

// A window's text, read from another process (WM_GETTEXT).
std::wstring WindowText(HWND window);

class DialogDriver {
public:
    DialogDriver(HWND dialog, HANDLE process) : dialog_(dialog), process_(process) {}

    HWND Handle() const { return dialog_; }
    std::wstring Caption() const;
    int OuterWidth() const;

    HWND Control(int id) const;
    // Identifiers of the dialog's own controls (not their inner windows) that are visible,
    // in Z order, and the same sorted.
    std::vector<int> VisibleControlIds() const;
    std::vector<int> SortedVisibleControlIds() const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    RECT ControlRect(int id) const;  // outer rectangle, in the dialog's client coordinates
    int FocusedControlId() const;    // 0 when the focus is on no control of the dialog
    // The window that has the keyboard focus on the dialog's thread, a control or a window
    // inside one (an address field's parts); nullptr for none.
    HWND FocusedWindow() const;

    std::wstring ControlText(int id) const;
    std::vector<std::wstring> ComboItems(int id) const;
    int ComboSelection(int id) const;
    AddressFieldContent AddressField(int id) const;
    ListViewDriver List(int id) const { return ListViewDriver(Control(id), process_); }

    // Clicks a push button; returns when the dialog has handled the click.
    void ClickButton(int id) const;
    // Presses and releases the left mouse button in the middle of `window` (a control, or a
    // window inside one); returns when both have been handled.
    void ClickInside(HWND window) const;
    // Clicks a push button and returns at once, while the dialog may still be handling the
    // click (a command that shows a message box waits until the box is closed).
    void PostClickButton(int id) const;
    // Posts the button's click notification (WM_COMMAND, BN_CLICKED) to the dialog, as an
    // automation tool does whatever state the button is in; returns at once.
    void PostClickNotification(int id) const;
    // Types an address into an IPv4 address field (first octet in the most significant
    // byte), or empties it.
    void FillAddressField(int id, DWORD address) const;
    void ClearAddressField(int id) const;
    void ChooseComboItem(int id, int index) const;
    // Presses and releases a key on the keyboard, with Alt held down if asked, while the
    // dialog is the foreground window: the key goes to whichever control has the focus.
    // Returns once the input is queued; the dialog handles it afterwards.
    void TypeKey(UINT virtualKey, bool withAlt = false) const;
    // Posts a key press to a control, as if typed while it had the focus.
    void PostKey(int id, UINT virtualKey) const;
    // Asks the window to close, as its close box does.
    void PostClose() const;

private:
    HWND dialog_;
    HANDLE process_;
};

}  // namespace lumaro::apptest
