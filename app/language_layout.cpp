#include "app/language_layout.h"

#include "app/dialog_geometry.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// Measured at 96, 120 and 144 DPI (tests/app: every text's extent in its control's font
// against the control's client rectangle): the panel's labels and two buttons do not hold
// their English texts in the template's widths. The labels grow to the left, inside the
// panel's frame; the buttons to the right, where the panel has room.
constexpr ControlGrowth kEnglishGrowth[] = {
    {IDC_MASK_LABEL, 6, 0},
    {IDC_GATEWAY_LABEL, 6, 0},
    {IDC_DATE_FORMAT_LABEL, 6, 0},
    {IDC_WEB_LANGUAGE_LABEL, 6, 0},
};

}  // namespace

std::span<const ControlGrowth> EnglishGrowth() { return kEnglishGrowth; }

void ChangeLanguageLayout(HWND dialog, Language from, Language to) {
    if (from == to) return;
    const int sign = to == Language::English ? 1 : -1;
    for (const ControlGrowth& growth : kEnglishGrowth) {
        RECT moves{growth.leftwards, 0, growth.rightwards, 0};
        MapDialogRect(dialog, &moves);  // both edges' moves in pixels (horizontal units)
        const HWND control = GetDlgItem(dialog, growth.controlId);
        const RECT rect = WindowRectInClient(control, dialog);
        const int left = rect.left - sign * moves.left;
        const int width = rect.right - rect.left + sign * (moves.left + moves.right);
        SetWindowPos(control, nullptr, left, rect.top, width, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace lumaro
