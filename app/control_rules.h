#pragma once
// Who shows, hides, enables and disables the switchable controls of the main dialog. Every
// rule is one line of the table in control_rules.cpp, applied by the event that calls for
// it; nothing else in the dialog shows, hides, enables or disables these controls.
//
//   event               what changes, in this order
//   PanelShown          shows the panel's fourteen controls (never the clock and web-off
//                       buttons: only the hidden mode and F4 bring those back)
//   PanelHidden         hides the panel's controls and the clock and web-off buttons (also
//                       the state after the initialisation)
//   SearchStarted       disables apply, clock and web-off; what is shown stays as it is
//   ControllerSelected  enables apply, clock and web-off; what is shown stays as it is
//   HiddenModeEntered   shows web-off and clock; enables web-off, clock and apply
//   F4Pressed           shows web-off; whether it is enabled stays as it is
// and each command disables its own button, and only that one, while it works
// (SetCommandButtonEnabled; QuickEnableButton, which no rule switches, in quick_enable.cpp).

#include <windows.h>

#include <span>

#include "workflow/command_dialog.h"

namespace lumaro {

enum class DialogEvent {
    PanelShown,
    PanelHidden,
    SearchStarted,
    ControllerSelected,
    HiddenModeEntered,
    F4Pressed,
};

enum class ControlChange { Show, Hide, Enable, Disable };

struct ControlRule {
    DialogEvent event;
    ControlChange change;
    std::span<const int> controls;  // identifiers, in the order in which they change
};

// The whole table, in the order in which an event's rules are applied.
std::span<const ControlRule> ControlRules();

void ApplyControlRules(HWND dialog, DialogEvent event);

int CommandButtonId(CommandButton button);
void SetCommandButtonEnabled(HWND dialog, CommandButton button, bool enabled);

}  // namespace lumaro
