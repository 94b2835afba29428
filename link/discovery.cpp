// Discovery: the four fixed frames through every interface socket, and the table of
// the controllers that answered.

#include <algorithm>
#include <array>

#include "link/controller_link.h"
#include "link/discovery_frames.h"

namespace lumaro {

void ControllerLink::DiscoverControllers() {
    const FineTimerHold fineTimer(*this);  // one request for the whole search
    table_.count = 0;
    for (const DiscoveryFrame& frame : kDiscoveryFrames) {
        for (std::size_t position = 0; position < sockets_.size(); ++position) {
            sockets_[position].socket->SendTo(kLimitedBroadcast, kControllerPort, frame);
            CollectReplies(position);
        }
    }
}

void ControllerLink::CollectReplies(std::size_t socketPosition) {
    const FineTimerHold fineTimer(*this);
    const InterfaceSocket& entry = sockets_[socketPosition];
    LinkSocket& socket = *entry.socket;
    std::array<std::uint8_t, kCollectAreaBytes> area;
    int quietLeft = kCollectQuietCount;  // datagrams never restore it
    // A LAN that never falls quiet ends the collect when its time is up.
    const auto endAt = environment_.steadyNow() + kCollectTimeLimit;
    // A full table ends every later collect at once: nothing more can be stored.
    while (table_.count < ControllerTable::kCapacity && environment_.steadyNow() < endAt) {
        const platform::Readiness readiness = socket.WaitReadable(kWaitSlice);
        if (readiness != platform::Readiness::Readable) {
            if (quietLeft == 0) return;
            --quietLeft;
            continue;
        }
        const auto received = socket.Receive(area);
        if (!received) continue;
        auto reply = DecodeDiscoveryReply(std::span(area).first(*received));
        if (!reply) continue;
        const auto sameController = [&](const ControllerRecord& r) { return r.serial == reply->serial; };
        if (std::ranges::any_of(table_.Found(), sameController)) continue;  // first reply wins

        reply->hostAddress = entry.address;
        reply->hostMask = entry.mask;
        reply->hostGateway = 0;
        table_.records[table_.count] = *reply;
        ++table_.count;
    }
}

void ControllerLink::SortBySerial() { lumaro::SortBySerial(table_); }

}  // namespace lumaro
