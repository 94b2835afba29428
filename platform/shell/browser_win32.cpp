#include <windows.h>
#include <shellapi.h>

#include "platform/shell/browser.h"

namespace lumaro::platform {

bool OpenInBrowser(const std::string& pageAddress) {
    // The address is ASCII ("HTTP://" and a dotted address).
    const std::wstring wide(pageAddress.begin(), pageAddress.end());
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // values up to 32 are errors
}

}  // namespace lumaro::platform
