#pragma once
// What the commands on one listed controller (apply, clock, web-off) need from the window
// beyond ControllerDialog: the three typed addresses, the row last shown in the panel,
// their own buttons and the hidden mode's two buttons. lumaro.exe implements it with its
// dialog, the console with its stand-in.

#include "platform/net/ipv4_address.h"
#include "workflow/controller_dialog.h"

namespace lumaro {

enum class CommandButton { Apply, SyncTime, DisableWeb };

// The address, mask and gateway fields in the link's address form (first octet lowest);
// a blank field reads as 0.0.0.0.
struct TypedAddresses {
    Ipv4Address ip = 0;
    Ipv4Address mask = 0;
    Ipv4Address gateway = 0;
};

class CommandDialog : public ControllerDialog {
public:
    virtual TypedAddresses ReadTypedAddresses() const = 0;
    // The row that the panel last showed (kept across searches); -1 before any.
    virtual int LastSelectedRow() const = 0;
    // A command disables its own button while it works and enables it afterwards.
    virtual void EnableCommandButton(CommandButton button, bool enabled) = 0;
    // The hidden mode: shows the clock and web-off buttons and enables them and the apply
    // button.
    virtual void ShowHiddenModeButtons() = 0;
};

}  // namespace lumaro
