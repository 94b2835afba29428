#pragma once
// The dialog's run-time geometry is given in pixels at 96 DPI. The template is laid out
// in dialog units, which follow the display's DPI, so these figures are scaled by the
// dialog's DPI / 96 to stay in step with it; at 96 DPI they are used exactly as given.

#include <windows.h>

namespace lumaro {

constexpr int kDesignDpi = 96;

class PixelScale {
public:
    constexpr explicit PixelScale(int dpi = kDesignDpi) : dpi_(dpi) {}
    // The DPI that the window is shown at (the screen's on systems without per-window DPI).
    static PixelScale OfWindow(HWND window);

    constexpr int Dpi() const { return dpi_; }
    // `pixels` at 96 DPI as pixels at this DPI, rounded to the nearest (halves away from 0).
    constexpr int operator()(int pixels) const {
        const int scaled = pixels * dpi_;
        return scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                           : -((-scaled + kDesignDpi / 2) / kDesignDpi);
    }

private:
    int dpi_;
};

}  // namespace lumaro
