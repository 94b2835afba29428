#include "app/pixel_scale.h"

namespace lumaro {

PixelScale PixelScale::OfWindow(HWND window) {
    // Windows 10 (1607 and later) knows each window's DPI; older systems have one for the
    // whole screen.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return PixelScale(static_cast<int>(dpi));
    }
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(window, dc);
    return PixelScale(dpi > 0 ? dpi : kDesignDpi);
}

}  // namespace lumaro
