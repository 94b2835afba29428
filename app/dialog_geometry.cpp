#include "app/dialog_geometry.h"

namespace lumaro {

RECT WindowRectInClient(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveControlLeftTo(HWND control, const RECT& rect, int left) {
    SetWindowPos(control, nullptr, left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER);
}

void WidenWindow(HWND window, int change) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left + change,
                 rect.bottom - rect.top, SWP_NOZORDER);
}

}  // namespace lumaro
