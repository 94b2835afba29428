#include "workflow/web_enable.h"

#include "link/controller_text.h"
#include "link/masked_write.h"
#include "platform/shell/browser.h"
#include "platform/time/clock.h"
#include "workflow/reselection.h"
#include "workflow/wait_cursor.h"

namespace lumaro {

namespace {

enum class AddressKept { Yes, No, CouldNotAsk };

// One run of the procedure: the values it holds and its steps, in their order.
class WebEnableRun {
public:
    WebEnableRun(ControllerLink& link, ControllerDialog& dialog, const WebEnableSystem& system)
        : link_(link), dialog_(dialog), system_(system) {}

    WebEnableReport Run();

private:
    bool Refresh();                          // the controller's network parameters afresh
    AddressKept CurrentAddressCheck();
    FreeAddressFound FreeAddressSearch();
    void MoveController(Ipv4Address candidate);
    bool ConfirmNewAddress(Ipv4Address candidate);
    void ProbeWebPortAndWrite();             // the probe, and WriteWebSettings when needed
    void WriteWebSettings();
    void OpenWebPage();

    void LaySettings();
    // Ends the run: the arrow cursor back, then the outcome told.
    WebEnableReport Stop(WebEnableEnd end, Outcome outcome);

    ControllerLink& link_;
    ControllerDialog& dialog_;
    const WebEnableSystem& system_;
    WebEnableReport report_;

    std::size_t row_ = 0;
    std::uint32_t serial_ = 0;
    Ipv4Address hostAddress_ = 0;
    Ipv4Address hostMask_ = 0;
    Ipv4Address hostGateway_ = 0;
    Ipv4Address address_ = 0;
    // The web choices, read once when the run starts: both settings writes carry the same.
    int dateFormat_ = 0;
    int webLanguage_ = 0;
    std::optional<WaitCursor> waitCursor_;  // from the read to the end of the run
};

WebEnableReport WebEnableRun::Run() {
    const std::optional<int> selected = dialog_.SelectedRow();
    if (!selected || !ControllerTable::HasRoomForRow(*selected)) {
        return Stop(WebEnableEnd::NoSelection, Outcome::NoControllerSelected);
    }
    row_ = static_cast<std::size_t>(*selected);
    dateFormat_ = dialog_.DateFormatIndex();
    webLanguage_ = dialog_.WebLanguageIndex();
    link_.SeedSequenceCounter();
    waitCursor_.emplace(dialog_);
    if (!Refresh()) return Stop(WebEnableEnd::ReadFailed, Outcome::ControllerUnreachable);

    // ARP that could not be asked judges nothing: every address would look free, and the
    // controller could be moved onto one in use. Stop before anything is written.
    const AddressKept kept = CurrentAddressCheck();
    if (kept == AddressKept::CouldNotAsk) {
        return Stop(WebEnableEnd::ArpFailed, Outcome::WebAccessFailed);
    }
    if (kept == AddressKept::No) {
        const FreeAddressFound found = FreeAddressSearch();
        if (!found.address) {
            return Stop(found.couldNotAsk ? WebEnableEnd::ArpFailed : WebEnableEnd::NoFreeAddress,
                        Outcome::WebAccessFailed);
        }
        const Ipv4Address candidate = *found.address;
        MoveController(candidate);
        if (!ConfirmNewAddress(candidate)) {
            return Stop(WebEnableEnd::NewAddressSilent, Outcome::WebAccessFailed);
        }
    }
    ProbeWebPortAndWrite();
    OpenWebPage();
    report_.end = WebEnableEnd::PageOpened;
    return report_;
}

bool WebEnableRun::Refresh() {
    ControllerRecord& record = link_.Table().records[row_];
    link_.SetCurrentVariantCode(static_cast<std::uint8_t>(record.variantCode));
    if (!Answered(link_.ReadNetworkParameters(record.hostAddress, record.serial))) return false;
    // An answer too short to hold the fields would read as a controller at 0.0.0.0.
    if (!HoldsNetworkFields(link_.ReceivedReply())) return false;
    ApplyNetworkReply(record, link_.ReceivedReply());

    serial_ = record.serial;
    hostAddress_ = record.hostAddress;
    hostMask_ = record.hostMask;
    hostGateway_ = record.hostGateway;
    address_ = record.ip;
    report_.serial = serial_;
    report_.presentAddress = address_;
    report_.address = address_;
    return true;
}

AddressKept WebEnableRun::CurrentAddressCheck() {
    const ControllerTable& table = link_.Table();
    if (CheckPresentAddress(table, dialog_.RowCount(), address_, hostAddress_, hostMask_) !=
        PresentAddress::MayStay) {
        return AddressKept::No;
    }
    if (!Answered(link_.ProbeController(address_, hostAddress_, serial_))) return AddressKept::No;
    const platform::ArpResult answer = system_.arp(address_, hostAddress_);
    if (!answer.Asked()) return AddressKept::CouldNotAsk;
    if (!ArpAnswerKeepsAddress(answer, table.records[row_].mac)) return AddressKept::No;
    // A kept address is held too. Should another run hold it (it found the address free
    // while this controller was silent, restarting), this one moves: never two on one.
    return system_.claimAddress(address_) ? AddressKept::Yes : AddressKept::No;
}

FreeAddressFound WebEnableRun::FreeAddressSearch() {
    // A candidate that another run holds, or that anybody answers ARP for, is taken. The
    // claim comes first, so that no other run asks ARP about it meanwhile and finds it free;
    // a candidate not found free is let go again.
    return FindFreeAddress(CandidateAddresses(hostAddress_, hostMask_, link_.InterfaceAddresses()),
                           [this](Ipv4Address candidate) {
                               if (!system_.claimAddress(candidate)) return CandidateState::Taken;
                               const CandidateState state =
                                   CandidateStateOf(system_.arp(candidate, hostAddress_));
                               if (state != CandidateState::Free) system_.releaseAddress(candidate);
                               return state;
                           });
}

void WebEnableRun::LaySettings() {
    link_.ClearTransmitBuffer();
    LaySettingsGroup(link_.Transmit(), kWebPort, dateFormat_, webLanguage_);
}

void WebEnableRun::MoveController(Ipv4Address candidate) {
    // The replies are not needed: ARP at the new address tells whether the controller moved
    // (a reply lost on its way back would say nothing about that).
    LaySettings();
    static_cast<void>(link_.WriteSettings(hostAddress_, serial_));
    link_.ClearTransmitBuffer();
    // hostGateway is always 0.0.0.0 (the PC's interface list gives no gateway): the
    // controller is left without one.
    LayNetworkGroup(link_.Transmit(), candidate, hostMask_, hostGateway_);
    static_cast<void>(link_.WriteSettings(hostAddress_, serial_));
    report_.moved = true;
    system_.pause(kPauseAfterMove);
}

bool WebEnableRun::ConfirmNewAddress(Ipv4Address candidate) {
    for (int attempt = 1; attempt <= kNewAddressArpAttempts; ++attempt) {
        // A request that could not be made counts as unanswered here: the controller has
        // been written already, and the next attempt may get through.
        if (system_.arp(candidate, hostAddress_).Answered()) {
            address_ = candidate;
            report_.address = address_;
            return true;
        }
        if (attempt < kNewAddressArpAttempts) system_.pause(kPauseBetweenArpAttempts);
    }
    return false;
}

void WebEnableRun::ProbeWebPortAndWrite() {
    const ProbeTarget target{address_, kWebPort};
    const ProbeWait outcome = system_.probeWebPort(target, kWebPortProbeWait);
    report_.webPort = outcome;
    // Only a connection that was made shows a working web server. A refusal ends the
    // attempt in time too, but its page would not load: switch the server on then as well.
    if (outcome != ProbeWait::Connected) WriteWebSettings();
}

void WebEnableRun::WriteWebSettings() {
    // The window goes on whatever the replies say, and the next search shows the outcome;
    // the console judges the run by them and by that search.
    LaySettings();
    WebSettingsWrite written;
    written.settingsAnswered = Answered(link_.WriteSettings(hostAddress_, serial_));
    // From the same buffer: bytes 20-23 are zero, as a restart needs.
    written.restartAnswered = Answered(link_.RestartController(hostAddress_, serial_));
    report_.webSettings = written;
    system_.pause(kPauseAfterRestart);
}

void WebEnableRun::OpenWebPage() {
    waitCursor_.reset();  // the arrow before the browser comes up and the search shows its own
    report_.pageAddress = PageAddress(address_);
    system_.openPage(report_.pageAddress);
    dialog_.Search();
    ReselectBySerial(link_, dialog_, serial_);
}

WebEnableReport WebEnableRun::Stop(WebEnableEnd end, Outcome outcome) {
    waitCursor_.reset();
    report_.end = end;
    report_.told = outcome;
    dialog_.ShowOutcome(outcome);
    return report_;
}

}  // namespace

WebEnableSystem WebEnableSystem::System() {
    return WebEnableSystem{
        .arp = platform::RequestHardwareAddress,
        .probeWebPort = [](const ProbeTarget& target,
                           std::chrono::milliseconds wait) { return ProbeWebPort(target, wait); },
        .openPage = [](const std::string& page) { platform::OpenInBrowser(page); },
        .pause = platform::SleepFor,
    };
}

std::string PageAddress(Ipv4Address address) { return "HTTP://" + FormatAddress(address); }

WebEnableReport EnableWebProcedure(ControllerLink& link, ControllerDialog& dialog,
                                   const WebEnableSystem& system) {
    return WebEnableRun(link, dialog, system).Run();
}

}  // namespace lumaro
