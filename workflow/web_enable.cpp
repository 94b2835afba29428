#include "workflow/web_enable.h"

#include <algorithm>

#include "link/controller_text.h"
#include "link/masked_write.h"
#include "platform/browser.h"
#include "platform/clock.h"
#include "resources/resource.h"
#include "workflow/reselection.h"

namespace lumaro {

namespace {

constexpr std::uint8_t kLastOctetIndex = 3;

Ipv4Address WithLastOctet(Ipv4Address address, std::uint8_t octet) {
    return (address & 0x00FFFFFFu) | (static_cast<Ipv4Address>(octet) << 24);
}

bool NeverKept(Ipv4Address address) {
    return std::find(kAddressesNeverKept.begin(), kAddressesNeverKept.end(), address) !=
           kAddressesNeverKept.end();
}

// The PC reaches an address of another subnet only through a router, and a controller that
// the PC's broadcast found is on the PC's own segment: its page would not load from here.
// (Under Wine the UDP probe even gets through on the link, so it cannot tell.)
bool InSubnetOf(Ipv4Address address, Ipv4Address hostAddress, Ipv4Address hostMask) {
    return (address & hostMask) == (hostAddress & hostMask);
}

// One run of the procedure: the values it holds and its steps, in their order.
class WebEnableRun {
public:
    WebEnableRun(ControllerLink& link, ControllerDialog& dialog, const WebEnableSystem& system)
        : link_(link), dialog_(dialog), system_(system) {}

    WebEnableReport Run();

private:
    bool Refresh();                          // the controller's network parameters afresh
    bool CurrentAddressCheck();              // true: the present address stays
    std::optional<Ipv4Address> FreeAddressSearch();
    void MoveController(Ipv4Address candidate);
    bool ConfirmNewAddress(Ipv4Address candidate);
    void ProbeWebPortAndWrite();             // the probe, and WriteWebSettings when needed
    void WriteWebSettings();
    void OpenWebPage();

    void LaySettings();
    WebEnableReport Stop(WebEnableEnd end, unsigned message);

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
};

WebEnableReport WebEnableRun::Run() {
    const std::optional<int> selected = dialog_.SelectedRow();
    // Row k shows record k; a row beyond the table's room cannot be one of ours.
    if (!selected || *selected < 0 ||
        static_cast<std::size_t>(*selected) >= ControllerTable::kCapacity) {
        return Stop(WebEnableEnd::NoSelection, IDS_SELECT_CONTROLLER_FIRST);
    }
    row_ = static_cast<std::size_t>(*selected);
    link_.SeedSequenceCounter();
    dialog_.ShowWaitCursor();
    if (!Refresh()) {
        dialog_.ShowArrowCursor();
        return Stop(WebEnableEnd::ReadFailed, IDS_CONTROLLER_UNREACHABLE);
    }

    if (!CurrentAddressCheck()) {
        const std::optional<Ipv4Address> candidate = FreeAddressSearch();
        if (!candidate) {
            dialog_.ShowArrowCursor();
            return Stop(WebEnableEnd::NoFreeAddress, IDS_WEB_ACCESS_FAILED);
        }
        MoveController(*candidate);
        if (!ConfirmNewAddress(*candidate)) {
            dialog_.ShowArrowCursor();
            return Stop(WebEnableEnd::NewAddressSilent, IDS_WEB_ACCESS_FAILED);
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
    if (link_.ReadNetworkParameters(record.hostAddress, record.serial) != 0) return false;
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

bool WebEnableRun::CurrentAddressCheck() {
    const ControllerTable& table = link_.Table();
    int sameAddress = 0;
    for (int k = 0; k < dialog_.RowCount(); ++k) {
        if (static_cast<std::size_t>(k) >= ControllerTable::kCapacity) break;
        if (table.records[static_cast<std::size_t>(k)].ip == address_) ++sameAddress;
    }
    if (sameAddress != 1 || NeverKept(address_) || !InSubnetOf(address_, hostAddress_, hostMask_)) {
        return false;
    }
    if (link_.ProbeController(address_, hostAddress_, serial_) != 0) return false;

    const auto answer = system_.arp(address_, hostAddress_);
    // No ARP answer counts in the address's favour: the controller has just answered there.
    if (!answer) return true;
    return *answer == table.records[row_].mac;  // else another device answers there
}

std::optional<Ipv4Address> WebEnableRun::FreeAddressSearch() {
    const std::uint8_t start =
        Octet(hostAddress_, kLastOctetIndex) == kFirstCandidateOctet ? kFirstCandidateOctet + 1
                                                                     : kFirstCandidateOctet;
    // Only the last octet changes; the PC's mask is not consulted. Octets 0 and 255 are
    // never tried, so at most 254 requests: start .. 254, 1 .. start - 1.
    std::uint8_t octet = start;
    for (;;) {
        const Ipv4Address candidate = WithLastOctet(hostAddress_, octet);
        if (!system_.arp(candidate, hostAddress_)) return candidate;
        ++octet;  // wraps from 255 to 0
        if (octet == start) return std::nullopt;
        while (octet == 0 || octet == 255) ++octet;
    }
}

void WebEnableRun::LaySettings() {
    link_.ClearTransmitBuffer();
    LaySettingsGroup(link_.Transmit(), kWebPort, dialog_.DateFormatIndex(),
                     dialog_.WebLanguageIndex());
}

void WebEnableRun::MoveController(Ipv4Address candidate) {
    LaySettings();
    link_.WriteSettings(hostAddress_, serial_);  // the result is not needed
    link_.ClearTransmitBuffer();
    // The controller is left without a gateway: the PC's own gateway is not known here.
    LayNetworkGroup(link_.Transmit(), candidate, hostMask_, hostGateway_);
    link_.WriteSettings(hostAddress_, serial_);
    report_.moved = true;
    system_.pause(kPauseAfterMove);
}

bool WebEnableRun::ConfirmNewAddress(Ipv4Address candidate) {
    for (int attempt = 1; attempt <= kNewAddressArpAttempts; ++attempt) {
        if (system_.arp(candidate, hostAddress_)) {
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
    LaySettings();
    link_.WriteSettings(hostAddress_, serial_);
    // From the same buffer: bytes 20-23 are zero, as a restart needs.
    link_.RestartController(hostAddress_, serial_);
    report_.webSettingsWritten = true;
    system_.pause(kPauseAfterRestart);
}

void WebEnableRun::OpenWebPage() {
    dialog_.ShowArrowCursor();
    report_.pageAddress = PageAddress(address_);
    system_.openPage(report_.pageAddress);
    dialog_.Search();
    ReselectBySerial(link_, dialog_, serial_);
}

WebEnableReport WebEnableRun::Stop(WebEnableEnd end, unsigned message) {
    report_.end = end;
    report_.message = message;
    dialog_.ShowMessage(message);
    return report_;
}

}  // namespace

WebEnableSystem WebEnableSystem::System() {
    return WebEnableSystem{
        .arp = platform::RequestHardwareAddress,
        .probeWebPort = [](const ProbeTarget& target,
                           std::chrono::milliseconds wait) { return ProbeWebPort(target, wait); },
        .openPage = [](const std::string& page) { platform::OpenInBrowser(page); },
        .pause =
            [](std::chrono::milliseconds duration) {
                platform::SleepMilliseconds(static_cast<unsigned>(duration.count()));
            },
    };
}

std::string PageAddress(Ipv4Address address) { return "HTTP://" + FormatAddress(address); }

WebEnableReport EnableWebProcedure(ControllerLink& link, ControllerDialog& dialog,
                                   const WebEnableSystem& system) {
    return WebEnableRun(link, dialog, system).Run();
}

}  // namespace lumaro
