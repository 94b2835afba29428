#pragma once
// The three commands on the listed controller, as its buttons in lumaro.exe and the
// console's subcommands run them:
//   ApplyCommand       (ApplyButton)      writes the typed addresses with the web settings
//   SyncTimeCommand    (SyncTimeButton)   sets the controller's clock from the PC's
//   DisableWebCommand  (DisableWebButton) switches the web server off and restarts it
// They reach the window only through CommandDialog.

#include <chrono>
#include <cstdint>
#include <functional>

#include "link/controller_link.h"
#include "workflow/command_dialog.h"

namespace lumaro {

// What the commands take from the system besides the link; tests replace it.
struct CommandEnvironment {
    std::function<void(std::chrono::milliseconds)> pause;

    static CommandEnvironment System();
};

// The gateway that, typed into the panel, shows the hidden buttons instead of writing.
constexpr Ipv4Address kHiddenModeGateway = MakeIpv4(2, 9, 4, 6);
// How long the controller is given to take new settings before the list is searched again.
constexpr std::chrono::milliseconds kApplySettlePause{1000};
constexpr std::chrono::milliseconds kRestartSettlePause{2000};
// The web server port that the apply command always writes.
constexpr std::uint16_t kAppliedWebPort = 80;

enum class CommandOutcome {
    NoController,    // no row to act on: Outcome::NoControllerSelected, nothing sent
    AddressRefused,  // addresses that can never work: Outcome::AddressRefused, nothing sent
    HiddenMode,      // gateway 2.9.4.6: the hidden buttons shown, nothing sent
    Sent,            // the frames went out (apply and web-off: the list searched again)
};

struct CommandResult {
    CommandOutcome outcome = CommandOutcome::NoController;
    std::uint32_t serial = 0;  // the controller acted on, once a row was chosen
    bool answered = false;     // every frame sent got a reply with its sequence
};

// Tells nothing of its own except the refusal; the outcome shows in the new search.
CommandResult ApplyCommand(ControllerLink& link, CommandDialog& dialog,
                           const CommandEnvironment& environment);
// Tells Outcome::ClockSet when the controller answered, ClockNotSet when not. No search
// follows.
CommandResult SyncTimeCommand(ControllerLink& link, CommandDialog& dialog);
// Tells nothing; the outcome shows in the new search.
CommandResult DisableWebCommand(ControllerLink& link, CommandDialog& dialog,
                                const CommandEnvironment& environment);

}  // namespace lumaro
