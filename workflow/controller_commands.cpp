#include "workflow/controller_commands.h"

#include "link/masked_write.h"
#include "platform/time/clock.h"
#include "workflow/address_check.h"
#include "workflow/command_run.h"
#include "workflow/reselection.h"

namespace lumaro {

namespace {

// The record at the run's row: row k shows record k of the table.
const ControllerRecord& RecordOf(const ControllerLink& link, const CommandRun& run) {
    return link.Table().records[static_cast<std::size_t>(run.Row())];
}

// What a command needs of its controller, kept before the search replaces the table.
struct Addressee {
    std::uint32_t serial;
    Ipv4Address hostAddress;
    std::uint8_t variantCode;

    explicit Addressee(const ControllerRecord& record)
        : serial(record.serial),
          hostAddress(record.hostAddress),
          variantCode(static_cast<std::uint8_t>(record.variantCode)) {}
};

void SearchAndReselect(ControllerLink& link, CommandDialog& dialog, std::uint32_t serial) {
    dialog.Search();
    ReselectBySerial(link, dialog, serial);  // nothing to reselect in an empty list
}

}  // namespace

CommandEnvironment CommandEnvironment::System() {
    return CommandEnvironment{.pause = platform::SleepFor};
}

CommandResult ApplyCommand(ControllerLink& link, CommandDialog& dialog,
                           const CommandEnvironment& environment) {
    auto run = CommandRun::Start(dialog, CommandButton::Apply, RowChoice::SelectedOrLastSelected);
    if (!run) return {};
    link.SeedSequenceCounter();
    const ControllerRecord& record = RecordOf(link, *run);
    const Addressee to(record);
    const TypedAddresses typed = dialog.ReadTypedAddresses();

    if (typed.gateway == kHiddenModeGateway) {
        dialog.ShowHiddenModeButtons();
        return {CommandOutcome::HiddenMode, to.serial};
    }
    if (FindAddressFault(typed.ip, typed.mask)) {
        run->End();
        dialog.ShowOutcome(Outcome::AddressRefused);
        return {CommandOutcome::AddressRefused, to.serial};
    }

    // Two frames from one buffer: the web settings (and fixed addressing) alone, then the
    // same with the network group added.
    link.ClearTransmitBuffer();
    if (record.dhcpMarker != 0) LayDhcpGroup(link.Transmit());
    LaySettingsGroup(link.Transmit(), kAppliedWebPort, dialog.DateFormatIndex(),
                     dialog.WebLanguageIndex());
    link.SetCurrentVariantCode(to.variantCode);
    const CommandReply settingsReply = link.WriteSettings(to.hostAddress, to.serial);
    LayNetworkGroup(link.Transmit(), typed.ip, typed.mask, typed.gateway);
    link.SetCurrentVariantCode(to.variantCode);
    const CommandReply addressReply = link.WriteSettings(to.hostAddress, to.serial);

    environment.pause(kApplySettlePause);
    run->End();
    SearchAndReselect(link, dialog, to.serial);
    return {CommandOutcome::Sent, to.serial, Answered(settingsReply) && Answered(addressReply)};
}

CommandResult SyncTimeCommand(ControllerLink& link, CommandDialog& dialog) {
    auto run = CommandRun::Start(dialog, CommandButton::SyncTime, RowChoice::Selected);
    if (!run) return {};
    const Addressee to(RecordOf(link, *run));
    link.SetCurrentVariantCode(to.variantCode);
    const bool answered = Answered(link.SetControllerClock(to.hostAddress, to.serial));
    run->End();
    dialog.ShowOutcome(answered ? Outcome::ClockSet : Outcome::ClockNotSet);
    return {CommandOutcome::Sent, to.serial, answered};
}

CommandResult DisableWebCommand(ControllerLink& link, CommandDialog& dialog,
                                const CommandEnvironment& environment) {
    auto run = CommandRun::Start(dialog, CommandButton::DisableWeb, RowChoice::Selected);
    if (!run) return {};
    const Addressee to(RecordOf(link, *run));
    link.ClearTransmitBuffer();
    LayWebOffSettingsGroup(link.Transmit(), dialog.WebLanguageIndex());
    link.SetCurrentVariantCode(to.variantCode);
    const CommandReply settingsReply = link.WriteSettings(to.hostAddress, to.serial);
    // From the same buffer: the restart's four payload bytes are still zero.
    const CommandReply restartReply = link.RestartController(to.hostAddress, to.serial);

    environment.pause(kRestartSettlePause);
    run->End();
    SearchAndReselect(link, dialog, to.serial);
    return {CommandOutcome::Sent, to.serial, Answered(settingsReply) && Answered(restartReply)};
}

}  // namespace lumaro
