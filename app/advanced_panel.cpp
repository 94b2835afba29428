#include "app/advanced_panel.h"

#include <array>

#include "app/control_rules.h"
#include "app/dialog_geometry.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// The bottom buttons, in the order in which they are moved.
constexpr std::array<int, 4> kBottomButtons{IDC_SEARCH_BUTTON, IDC_QUICK_ENABLE_BUTTON,
                                            IDC_ADVANCED_BUTTON, IDCANCEL};

}  // namespace

void AdvancedPanel::Toggle(HWND dialog, HWND list, PixelScale scale,
                           const std::function<std::wstring(unsigned)>& text) {
    const RECT listRect = WindowRectInClient(list, dialog);
    const bool show = !shown_;
    const int direction = show ? 1 : -1;

    // The list keeps its width; the dialog keeps its left edge, so client coordinates
    // stay where they were.
    WidenWindow(dialog, direction * scale(kPanelWidth));
    MoveControlLeftTo(list, listRect, scale(show ? kListLeftBesidePanel : kListLeft));
    shown_ = show;
    ApplyControlRules(dialog, show ? DialogEvent::PanelShown : DialogEvent::PanelHidden);
    SetDlgItemTextW(dialog, IDC_ADVANCED_BUTTON, text(ToggleTextId()).c_str());
    for (int id : kBottomButtons) {
        const HWND button = GetDlgItem(dialog, id);
        const RECT rect = WindowRectInClient(button, dialog);  // after the resize
        MoveControlLeftTo(button, rect, rect.left + direction * scale(kBottomButtonShift));
    }

    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

unsigned AdvancedPanel::ToggleTextId() const {
    return shown_ ? IDS_HIDE_ADVANCED : IDS_SHOW_ADVANCED;
}

}  // namespace lumaro
