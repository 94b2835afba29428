#pragma once
// The Windows 11 opt-out behind KeepFineTimerWhenHidden, with the system call passed in so
// that tests can stand in for the systems that have it, refuse it or lack it.

#include <windows.h>

namespace lumaro::platform {

// SetProcessInformation (Windows 8 and later; looked up at run time, as the program also
// runs on Windows 7).
using SetProcessInformationFunction = BOOL(WINAPI*)(HANDLE process,
                                                    PROCESS_INFORMATION_CLASS informationClass,
                                                    LPVOID information, DWORD size);

// Asks `set` (nullptr: the system has no such call) to keep honouring this process's timer
// resolution while its windows are hidden: power throttling state version 1, with the
// ignore-timer-resolution throttling under control and switched off. true when it was taken.
bool KeepFineTimerWhenHiddenThrough(SetProcessInformationFunction set);

}  // namespace lumaro::platform
