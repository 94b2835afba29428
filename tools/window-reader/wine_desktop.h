#pragma once
// Under Wine the desktop has a process of its own (explorer.exe /desktop), started by the
// first program that needs the desktop's window. That program gives it 10 s to be ready and
// then goes on without it: the desktop is left half made, and no window of the run can be
// shown. A fresh prefix on a busy machine can take longer than that, so the tools start the
// desktop themselves, before anything needs it, and wait with their own patience.

#include <chrono>

namespace lumaro::apptest {

// Starts Wine's desktop for this process's desktop and waits until it is ready, starting it
// anew when one start seems stuck; throws when it is not ready within `patience`. Nothing
// under Windows, whose desktop is always there.
void StartWineDesktop(std::chrono::milliseconds patience);

}  // namespace lumaro::apptest
