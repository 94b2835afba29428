// The one-click web enable when whatever answers its read is any datagram: the record of
// the selected row is refreshed only from a reply of the request's sequence that holds every
// field it refreshes (a shorter one is a failed read), and everything the search
// stored about the PC's side stays as it was. ARP, the web-port probe, the browser and the
// pauses are stand-ins; the answer also answers every later command.

#include <string>

#include "fuzz/fuzz_target.h"
#include "fuzz/scripted_link.h"
#include "workflow/web_enable.h"

using lumaro::ControllerRecord;
using lumaro::fuzz::kFuzzHost;
using lumaro::fuzz::kFuzzHostMask;
using lumaro::fuzz::kFuzzSerial;
using lumaro::fuzz::Require;
using lumaro::testing::RecordOfReply;

namespace {

// One listed controller, selected; the search is left out (it would rebuild the table).
class OneRowDialog : public lumaro::ControllerDialog {
public:
    std::optional<int> SelectedRow() const override { return 0; }
    int RowCount() const override { return 1; }
    int DateFormatIndex() const override { return 0; }
    int WebLanguageIndex() const override { return 0; }
    void ShowOutcome(lumaro::Outcome) override {}
    void ShowWaitCursor() override {}
    void ShowArrowCursor() override {}
    void Search() override {}
    void SelectRow(int) override {}
};

ControllerRecord Listed() {
    ControllerRecord record;
    record.serial = kFuzzSerial;
    record.variantCode = 5;
    record.webPort = 80;
    record.ip = lumaro::MakeIpv4(10, 0, 1, 42);
    record.hostAddress = kFuzzHost;
    record.hostMask = kFuzzHostMask;
    return record;
}

}  // namespace

LUMARO_FUZZ_TARGET(refresh_record) {
    lumaro::fuzz::LinkOnScriptedLan lan;
    lan.AnswerCommandsWith(datagram);
    lumaro::ControllerLink& link = lan.Link();
    link.Table().records[0] = Listed();
    link.Table().count = 1;

    lumaro::WebEnableSystem system;
    system.arp = [](lumaro::Ipv4Address, lumaro::Ipv4Address) {
        return lumaro::platform::ArpResult::NoAnswer();
    };
    system.probeWebPort = [](const lumaro::ProbeTarget&, std::chrono::milliseconds) {
        return lumaro::ProbeWait::Connected;
    };
    system.openPage = [](const std::string&) {};
    system.pause = [](std::chrono::milliseconds) {};
    OneRowDialog dialog;
    // The procedure seeds the counter from the scripted clock (kScriptedSecondsSince1970): the
    // seeds answer with that sequence or another.
    const lumaro::WebEnableReport report = lumaro::EnableWebProcedure(link, dialog, system);

    const ControllerRecord& after = link.Table().records[0];
    const ControllerRecord listed = Listed();
    Require(after.serial == listed.serial && after.variantCode == listed.variantCode &&
                after.webPort == listed.webPort && after.hostAddress == listed.hostAddress &&
                after.hostMask == listed.hostMask && after.hostGateway == listed.hostGateway,
            "the refresh leaves what the search stored about the PC's side");
    if (report.end == lumaro::WebEnableEnd::ReadFailed) {
        Require(after.ip == listed.ip && after.mac == listed.mac && after.dhcpMarker == 0,
                "an unanswered read leaves the record as it was");
        return;
    }
    Require(lumaro::HoldsNetworkFields(datagram),
            "only an answer that holds every field it refreshes answers the read");
    const ControllerRecord expected = RecordOfReply(datagram);
    Require(after.ip == expected.ip && after.mask == expected.mask &&
                after.gateway == expected.gateway && after.mac == expected.mac &&
                after.dhcpMarker == expected.dhcpMarker,
            "the refreshed fields are the reply's");
    Require(report.presentAddress == expected.ip, "the procedure works on the refreshed address");
    Require(lumaro::ByteReader(datagram).Le32(4) ==
                static_cast<std::uint32_t>(lumaro::testing::kScriptedSecondsSince1970),
            "only a reply of the request's sequence refreshes the record");
}
