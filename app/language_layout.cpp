#include "app/language_layout.h"

#include "app/dialog_geometry.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// Measured at 96, 120 and 144 DPI (tests/app/panel_tests.cpp: every text's extent in its
// control's font against the control's client rectangle): "Web page:" needs 87 pixels of the
// label's 85 at 144 DPI and 71 of 68 at 120, so that label grows to the left, inside the
// panel's frame (10 dialog units from its left edge instead of 16). Every other English
// text fits the template's control (the closest: "Set clock from PC", 152 of 193 pixels at
// 144 DPI).
constexpr ControlGrowth kEnglishGrowth[] = {
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
