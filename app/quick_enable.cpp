// The one-click web enable behind QuickEnableButton.

#include <windows.h>

#include "app/beating_environment.h"
#include "app/lumaro_dlg.h"
#include "resources/resource.h"
#include "workflow/web_enable.h"

namespace lumaro {

void CLumaroDlg::OnQuickEnableButton() {
    // Disabled for the whole run, whichever way it ends.
    const HWND button = Item(IDC_QUICK_ENABLE_BUTTON);
    EnableWindow(button, FALSE);
    EnableWebProcedure(link_, *this,
                       BeatingWebEnableSystem(WebEnableSystem::System(), heartbeat_));
    EnableWindow(button, TRUE);
}

}  // namespace lumaro
