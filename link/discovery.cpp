// Discovery: the four fixed frames through every interface socket, and the table of
// the controllers that answered.

#include <array>

#include "link/byte_io.h"
#include "link/controller_link.h"
#include "link/discovery_frames.h"
#include "link/network_reply.h"

namespace lumaro {

void ControllerLink::DiscoverControllers() {
    table_.count = 0;
    for (const DiscoveryFrame& frame : kDiscoveryFrames) {
        for (std::size_t position = 0; position < sockets_.size(); ++position) {
            sockets_[position].socket.SendTo(kLimitedBroadcast, kControllerPort, frame);
            CollectReplies(position);
        }
    }
}

void ControllerLink::CollectReplies(std::size_t socketPosition) {
    namespace nr = network_reply;
    const InterfaceSocket& entry = sockets_[socketPosition];
    std::array<std::uint8_t, kCollectAreaBytes> area;
    int quietLeft = kCollectQuietCount;  // datagrams never restore it
    // A full table ends every later collect at once: nothing more can be stored.
    while (table_.count < ControllerTable::kCapacity) {
        const platform::Readiness readiness = entry.socket.WaitReadable(kWaitSlice);
        if (readiness != platform::Readiness::Readable) {
            if (quietLeft == 0) return;
            --quietLeft;
            continue;
        }
        const auto received = entry.socket.Receive(area);
        if (!received || *received < nr::kMinimumAcceptedBytes) continue;
        const std::span<const std::uint8_t> reply(area.data(), *received);
        const ByteReader bytes(reply);
        if (bytes.U8(kGroupOffset) != kNetworkReplyGroup ||
            bytes.U8(kCodeOffset) != kNetworkReplyCode) {
            continue;
        }
        const std::uint32_t serial = bytes.Le32(nr::kSerial);
        bool known = false;
        for (const ControllerRecord& record : table_.Found()) known = known || record.serial == serial;
        if (known) continue;  // the first accepted reply of each controller wins

        ControllerRecord& record = table_.records[table_.count];
        record = ControllerRecord{};
        record.serial = serial;
        ApplyNetworkReply(record, reply);
        record.hostAddress = entry.address;
        record.hostMask = entry.mask;
        record.hostGateway = 0;
        record.variantCode = bytes.U8(nr::kVariantCode);
        record.webPort = bytes.Le16(nr::kWebPort);
        ++table_.count;
    }
}

void ControllerLink::SortBySerial() { lumaro::SortBySerial(table_); }

}  // namespace lumaro
