#pragma once
// Pictures of the screen as a user sees it. A program inside Wine cannot read the X
// screen, so it asks the run's picture service (LUMARO_WINE_SHOTS of scripts/wine-run.sh),
// which saves them as PNG files in that directory.

#include <windows.h>

#include <string>

namespace lumaro::apptest {

// The directory of the picture service; empty when the run has none.
std::string PictureDirectory();

// Saves the window's area of the screen as NAME.png in the picture directory; false when
// the run has no picture service or it did not answer in time.
bool SaveScreenPicture(HWND window, const std::string& name);

}  // namespace lumaro::apptest
