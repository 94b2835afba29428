#include "platform/display_language.h"

namespace lumaro::platform {

bool UserPrefersChinese() { return false; }

}  // namespace lumaro::platform
