#pragma once
// The system timer's resolution. Windows' timer ticks every 15.625 ms unless a program asks
// for finer: a wait of 8 ms (the link's slice) then lasts a whole tick, which doubles what a
// search and an exchange cost. Linux's waits are not bound to a tick: nothing to do there.

namespace lumaro::platform {

// Asks for the system's 1 ms timer resolution (timeBeginPeriod(1)) until the matching
// release (timeEndPeriod(1)). Each request is released once, as soon as the waits that need
// it have ended: a fine timer keeps the processor from its deeper sleep states.
void RequestFineTimer();
void ReleaseFineTimer();

// Windows 11 stops honouring a process's timer resolution while its windows are minimised
// or hidden unless the process opts out; this asks for the opt-out, for the life of the
// process. false where the system refuses it (Windows 10 and older, Wine) or has no such
// setting, which is harmless there: those systems honour the resolution anyway.
bool KeepFineTimerWhenHidden();

}  // namespace lumaro::platform
