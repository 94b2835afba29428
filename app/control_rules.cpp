#include "app/control_rules.h"

#include "resources/resource.h"

namespace lumaro {

namespace {

// The panel's controls, in the order in which they are shown.
constexpr int kPanelControls[] = {
    IDC_PANEL_FRAME,       IDC_SERIAL_LABEL,      IDC_IP_LABEL,          IDC_MASK_LABEL,
    IDC_GATEWAY_LABEL,     IDC_SERIAL_EDIT,       IDC_APPLY_BUTTON,      IDC_IP_FIELD,
    IDC_MASK_FIELD,        IDC_GATEWAY_FIELD,     IDC_DATE_FORMAT_LABEL, IDC_DATE_FORMAT_COMBO,
    IDC_WEB_LANGUAGE_COMBO, IDC_WEB_LANGUAGE_LABEL,
};
// The same with the clock and web-off buttons, in the order in which they are hidden.
constexpr int kPanelAndHiddenButtons[] = {
    IDC_PANEL_FRAME,   IDC_SERIAL_LABEL,       IDC_IP_LABEL,          IDC_MASK_LABEL,
    IDC_GATEWAY_LABEL, IDC_SERIAL_EDIT,        IDC_APPLY_BUTTON,      IDC_SYNC_TIME_BUTTON,
    IDC_IP_FIELD,      IDC_MASK_FIELD,         IDC_GATEWAY_FIELD,     IDC_DISABLE_WEB_BUTTON,
    IDC_DATE_FORMAT_LABEL, IDC_DATE_FORMAT_COMBO, IDC_WEB_LANGUAGE_COMBO, IDC_WEB_LANGUAGE_LABEL,
};
constexpr int kCommandButtons[] = {IDC_APPLY_BUTTON, IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON};
constexpr int kHiddenButtons[] = {IDC_DISABLE_WEB_BUTTON, IDC_SYNC_TIME_BUTTON};
constexpr int kHiddenModeEnabled[] = {IDC_DISABLE_WEB_BUTTON, IDC_SYNC_TIME_BUTTON,
                                      IDC_APPLY_BUTTON};
constexpr int kWebOffButton[] = {IDC_DISABLE_WEB_BUTTON};

using enum DialogEvent;
using enum ControlChange;
constexpr ControlRule kRules[] = {
    {PanelShown, Show, kPanelControls},
    {PanelHidden, Hide, kPanelAndHiddenButtons},
    {SearchStarted, Disable, kCommandButtons},
    {ControllerSelected, Enable, kCommandButtons},
    {HiddenModeEntered, Show, kHiddenButtons},
    {HiddenModeEntered, Enable, kHiddenModeEnabled},
    {F4Pressed, Show, kWebOffButton},
};

void Change(HWND control, ControlChange change) {
    switch (change) {
        case Show: ShowWindow(control, SW_SHOW); break;
        case Hide: ShowWindow(control, SW_HIDE); break;
        case Enable: EnableWindow(control, TRUE); break;
        case Disable: EnableWindow(control, FALSE); break;
    }
}

}  // namespace

std::span<const ControlRule> ControlRules() { return kRules; }

void ApplyControlRules(HWND dialog, DialogEvent event) {
    for (const ControlRule& rule : kRules) {
        if (rule.event != event) continue;
        for (int id : rule.controls) Change(GetDlgItem(dialog, id), rule.change);
    }
}

int CommandButtonId(CommandButton button) {
    switch (button) {
        case CommandButton::Apply: return IDC_APPLY_BUTTON;
        case CommandButton::SyncTime: return IDC_SYNC_TIME_BUTTON;
        case CommandButton::DisableWeb: return IDC_DISABLE_WEB_BUTTON;
    }
    return 0;
}

void SetCommandButtonEnabled(HWND dialog, CommandButton button, bool enabled) {
    Change(GetDlgItem(dialog, CommandButtonId(button)), enabled ? Enable : Disable);
}

}  // namespace lumaro
