#include "cli/doctor_findings.h"

#include <algorithm>
#include <set>

#include "link/discovery_frames.h"

namespace lumaro {

std::vector<InterfaceFinding> ExamineInterfaces(const std::vector<platform::LocalAddress>& table,
                                                const SocketTrialFunction& trySocket) {
    std::vector<InterfaceFinding> findings;
    std::vector<Ipv4Address> used;
    for (const platform::LocalAddress& row : table) {
        InterfaceFinding finding{row, InterfaceUse::Used, std::nullopt};
        if (row.address == 0) {
            finding.use = InterfaceUse::NoAddress;
        } else if (row.address == kLoopbackHost) {
            finding.use = InterfaceUse::Loopback;
        } else if (used.size() == kMaxInterfaceSockets) {
            finding.use = InterfaceUse::BeyondLimit;
        } else {
            finding.trial = trySocket(row.address);
            if (!finding.trial->Usable()) {
                finding.use = InterfaceUse::NoSocket;
            } else {
                if (std::ranges::find(used, row.address) != used.end()) {
                    finding.use = InterfaceUse::Duplicate;
                }
                used.push_back(row.address);
            }
        }
        findings.push_back(std::move(finding));
    }
    return findings;
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

std::size_t ControllersFound(const DoctorFindings& findings) {
    std::set<std::uint32_t> serials;
    for (const InterfaceReplies& heard : findings.replies) {
        serials.insert(heard.serials.begin(), heard.serials.end());
    }
    return serials.size();
}

}  // namespace lumaro
