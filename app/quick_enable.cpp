// The one-click web enable behind QuickEnableButton.

#include <windows.h>

#include "app/beating_environment.h"
#include "app/disabled_control.h"
#include "app/lumaro_dlg.h"
#include "resources/resource.h"
#include "workflow/web_enable.h"

namespace lumaro {

void CLumaroDlg::OnQuickEnableButton() {
    const RunGate::Run run(runs_);
    // Disabled for the whole run, whichever way it ends (and before what the run kept is
    // handled).
    const DisabledControl button(Item(IDC_QUICK_ENABLE_BUTTON));
    EnableWebProcedure(link_, *this,
                       BeatingWebEnableSystem(WebEnableSystem::System(), heartbeat_));
}

}  // namespace lumaro
