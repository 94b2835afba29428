// The advanced panel: AdvancedButton shows it by widening the dialog and moving the list
// and the bottom buttons to the right, and hides it by the reverse moves.

#include <windows.h>

#include <array>

#include "app/control_rules.h"
#include "app/dialog_geometry.h"
#include "app/lumaro_dlg.h"
#include "app/window_texts.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// The bottom buttons, in the order in which they are moved.
constexpr std::array<int, 4> kBottomButtons{IDC_SEARCH_BUTTON, IDC_QUICK_ENABLE_BUTTON,
                                            IDC_ADVANCED_BUTTON, IDCANCEL};

}  // namespace

void CLumaroDlg::ToggleAdvancedPanel() {
    const HWND list = controllerList_.Handle();
    const RECT listRect = WindowRectInClient(list, window_);
    const bool show = advancedPanelState_ > 0;
    const int direction = show ? 1 : -1;

    // The list keeps its width; the dialog keeps its left edge, so client coordinates
    // stay where they were.
    WidenWindow(window_, direction * scale_(kPanelWidth));
    MoveControlLeftTo(list, listRect, scale_(show ? kListLeftBesidePanel : kListLeft));
    advancedPanelState_ = show ? 0 : 1;
    ApplyControlRules(window_, show ? DialogEvent::PanelShown : DialogEvent::PanelHidden);
    SetDlgItemTextW(window_, IDC_ADVANCED_BUTTON,
                    WindowText(show ? TextId::HideAdvanced : TextId::ShowAdvanced, language_)
                        .c_str());
    for (int id : kBottomButtons) {
        const HWND button = Item(id);
        const RECT rect = WindowRectInClient(button, window_);  // after the resize
        MoveControlLeftTo(button, rect, rect.left + direction * scale_(kBottomButtonShift));
    }

    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

}  // namespace lumaro
