#pragma once
// The PC's own name, for a record of what was done from it.

#include <string>

namespace lumaro::platform {

// The host name the system gives (UTF-8); empty when it gives none.
std::string ComputerName();

}  // namespace lumaro::platform
