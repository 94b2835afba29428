#include <windows.h>

#include "platform/display_language.h"

namespace lumaro::platform {

bool UserPrefersChinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

}  // namespace lumaro::platform
