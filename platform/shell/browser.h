#pragma once
// Handing a page address to the user's default web browser.

#include <string>

namespace lumaro::platform {

// Asks the system to open `pageAddress` (e.g. "HTTP://10.0.1.123") in the default browser and
// returns without waiting for the browser. false when nothing could be started.
bool OpenInBrowser(const std::string& pageAddress);

}  // namespace lumaro::platform
