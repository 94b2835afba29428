#include <windows.h>
#include <timeapi.h>

#include "platform/time/timer_resolution.h"
#include "platform/time/timer_throttling_win32.h"

namespace lumaro::platform {

namespace {

constexpr UINT kFinePeriodMilliseconds = 1;

}  // namespace

void RequestFineTimer() { timeBeginPeriod(kFinePeriodMilliseconds); }

void ReleaseFineTimer() { timeEndPeriod(kFinePeriodMilliseconds); }

bool KeepFineTimerWhenHiddenThrough(SetProcessInformationFunction set) {
    if (set == nullptr) return false;
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    // Under control and off: the timer resolution this process asks for is kept when hidden.
    state.ControlMask = PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION;
    state.StateMask = 0;
    return set(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof state) != FALSE;
}

bool KeepFineTimerWhenHidden() {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto set = reinterpret_cast<SetProcessInformationFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "SetProcessInformation")));
    return KeepFineTimerWhenHiddenThrough(set);
}

}  // namespace lumaro::platform
