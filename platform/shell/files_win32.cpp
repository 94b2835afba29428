#include <windows.h>

#include <cerrno>

#include "platform/shell/files.h"
#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

std::FILE* OpenFileByUtf8Name(const std::string& utf8Name, const char* mode) {
    // The narrow fopen would read the name in the system's code page, where Chinese
    // characters are lost unless that page is Chinese.
    const std::optional<std::wstring> wideName = WideFromUtf8(utf8Name);
    if (!wideName) {
        errno = EINVAL;
        return nullptr;
    }
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    return _wfopen(wideName->c_str(), wideMode.c_str());
}

}  // namespace lumaro::platform
