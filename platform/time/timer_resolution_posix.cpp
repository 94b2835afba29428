#include "platform/time/timer_resolution.h"

namespace lumaro::platform {

// Linux's timers expire when asked (high-resolution timers, no tick to round up to).
void RequestFineTimer() {}

void ReleaseFineTimer() {}

bool KeepFineTimerWhenHidden() { return true; }

}  // namespace lumaro::platform
