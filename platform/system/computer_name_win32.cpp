#include <windows.h>

#include "platform/system/computer_name.h"
#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

std::string ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) return {};
    return Utf8FromWide(std::wstring_view(name, length));
}

}  // namespace lumaro::platform
