#pragma once
// The language the person at this PC reads the system in, where the system says so.

namespace lumaro::platform {

// Windows: its display language for this user is Chinese. Elsewhere false: the locale's
// variables say it there.
bool UserPrefersChinese();

}  // namespace lumaro::platform
