#pragma once
// The main dialog's run-time geometry, in pixels at 96 DPI (scaled by PixelScale), and the
// window moves that apply it.

#include <windows.h>

namespace lumaro {

// The list spans the dialog: it starts 8 pixels in, and is as wide as the dialog's outer
// width less 22. With the advanced panel shown it starts at 288.
constexpr int kListLeft = 8;
constexpr int kListWidthMargin = 22;
constexpr int kListLeftBesidePanel = 288;
// Showing the panel widens the dialog by 280 and moves the four bottom buttons by 140.
constexpr int kPanelWidth = 280;
constexpr int kBottomButtonShift = 140;

// The window's outer rectangle in the client coordinates of `parent`.
RECT WindowRectInClient(HWND window, HWND parent);
// Moves a control (whose rectangle in its parent's client area is `rect`) to x = `left`,
// keeping its top, its size and the Z order.
void MoveControlLeftTo(HWND control, const RECT& rect, int left);
// Makes a top-level window `change` pixels wider, keeping its position and height.
void WidenWindow(HWND window, int change);

}  // namespace lumaro
