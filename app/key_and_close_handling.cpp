// F4, which shows the web-off button, and the window's close box, which releases the
// sockets before the dialog ends.

#include <windows.h>

#include "app/control_rules.h"
#include "app/lumaro_dlg.h"
#include "link/search.h"

namespace lumaro {

INT_PTR CLumaroDlg::OnKeyDown(WPARAM virtualKey) {
    // Whichever window of the dialog has the focus (the key filter hands on its controls'
    // keys); the web-off button keeps its enabled state.
    if (virtualKey == VK_F4) ApplyControlRules(window_, DialogEvent::F4Pressed);
    return FALSE;  // every key goes on to the default handling: Alt+F4 still closes
}

INT_PTR CLumaroDlg::OnClose() {
    CloseSearchedSockets(link_);
    return FALSE;  // the default handling ends the dialog as the exit button does
}

}  // namespace lumaro
