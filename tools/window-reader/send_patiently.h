#pragma once
// Sending a message to another program's window and waiting until it has been handled,
// however long the handler blocks (a search waits on sockets), but not for ever.

#include <windows.h>

namespace lumaro::apptest {

// Throws when the window's thread has not answered within two minutes.
LRESULT SendPatiently(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumaro::apptest
