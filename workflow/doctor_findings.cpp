#include "workflow/doctor_findings.h"

#include <set>

#include "link/discovery_frames.h"
#include "platform/socket_layer.h"

namespace lumaro {

std::vector<InterfaceFinding> ExamineInterfaces(const std::vector<platform::LocalAddress>& table,
                                                const SocketTrialFunction& trySocket) {
    std::vector<std::optional<platform::BroadcastSocketReport>> trials(table.size());
    const std::vector<InterfaceUse> uses =
        ChooseInterfaces(table, [&](const platform::LocalAddress& row) {
            auto& trial = trials[static_cast<std::size_t>(&row - table.data())];  // its row
            trial = trySocket(row.address);
            return trial->Opened();
        });
    std::vector<InterfaceFinding> findings;
    for (std::size_t i = 0; i < table.size(); ++i) {
        findings.push_back({table[i], uses[i], trials[i]});
    }
    return findings;
}

platform::BroadcastSocketReport TrySystemSocket(Ipv4Address local) {
    return platform::UdpSocket::OpenBroadcast(local).report;  // the socket closes here
}

std::vector<InterfaceReplies> SearchEachInterface(ControllerLink& link) {
    link.CloseInterfaceSockets();
    link.OpenInterfaceSockets();
    const ControllerLink::FineTimerHold fineTimer(link);  // as a whole search holds it
    std::vector<InterfaceReplies> replies;
    for (std::size_t position = 0; position < link.InterfaceCount(); ++position) {
        const InterfaceSocket& entry = link.Interface(position);
        link.Table().count = 0;  // a table of this interface's controllers alone
        for (const DiscoveryFrame& frame : kDiscoveryFrames) {
            entry.socket->SendTo(kLimitedBroadcast, kControllerPort, frame);
            link.CollectReplies(position);
        }
        InterfaceReplies heard{entry.address, {}};
        for (const ControllerRecord& record : link.Table().Found()) {
            heard.serials.push_back(record.serial);
        }
        replies.push_back(std::move(heard));
    }
    link.Table().count = 0;
    return replies;
}

DoctorFindings ExamineThisPc() {
    DoctorFindings findings;
    findings.socketLayerStarted = platform::StartSocketLayer(2, 2).succeeded;
    const auto table = platform::ReadLocalAddressTable();
    findings.addressTableRead = table.has_value();
    if (table) findings.interfaces = ExamineInterfaces(*table, TrySystemSocket);
    {
        ControllerLink link;
        findings.replies = SearchEachInterface(link);
    }  // its sockets close before the socket layer is released
    findings.firewall = platform::ReadFirewallState();
    if (findings.socketLayerStarted) platform::StopSocketLayer();
    return findings;
}

std::size_t ControllersFound(const DoctorFindings& findings) {
    std::set<std::uint32_t> serials;
    for (const InterfaceReplies& heard : findings.replies) {
        serials.insert(heard.serials.begin(), heard.serials.end());
    }
    return serials.size();
}

}  // namespace lumaro
