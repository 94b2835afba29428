// The buttons that act on the selected controller: each runs its command of the workflow,
// which reaches the dialog through CommandDialog (controller_dialog_port.cpp).

#include "app/lumaro_dlg.h"
#include "workflow/controller_commands.h"

namespace lumaro {

void CLumaroDlg::OnApplyButton() {
    const RunGate::Run run(runs_);
    ApplyCommand(link_, *this, commandEnvironment_);
}

void CLumaroDlg::OnSyncTimeButton() {
    const RunGate::Run run(runs_);
    SyncTimeCommand(link_, *this);
}

void CLumaroDlg::OnDisableWebButton() {
    const RunGate::Run run(runs_);
    DisableWebCommand(link_, *this, commandEnvironment_);
}

}  // namespace lumaro
