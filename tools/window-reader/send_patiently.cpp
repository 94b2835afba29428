#include "tools/window-reader/send_patiently.h"

#include <stdexcept>
#include <string>

namespace lumaro::apptest {

namespace {

constexpr UINT kPatienceMilliseconds = 120'000;

}  // namespace

LRESULT SendPatiently(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kPatienceMilliseconds,
                             &result)) {
        throw std::runtime_error("message " + std::to_string(message) +
                                 " was not handled in time, error " +
                                 std::to_string(GetLastError()));
    }
    return static_cast<LRESULT>(result);
}

}  // namespace lumaro::apptest
