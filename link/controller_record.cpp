#include "link/controller_record.h"

#include <algorithm>

#include "link/byte_io.h"
#include "link/frame.h"
#include "link/network_reply.h"

namespace lumaro {

void ApplyNetworkReply(ControllerRecord& record, std::span<const std::uint8_t> reply) {
    namespace nr = network_reply;
    const ByteReader bytes(reply);
    const std::uint8_t marker = bytes.U8(nr::kAddressingMode);
    record.dhcpMarker = marker;
    const bool dhcp = marker == kDhcpMarker;
    record.ip = bytes.Le32(dhcp ? nr::kDhcpAddress : nr::kAddress);
    record.mask = bytes.Le32(dhcp ? nr::kDhcpMask : nr::kMask);
    record.gateway = bytes.Le32(dhcp ? nr::kDhcpGateway : nr::kGateway);
    for (std::size_t i = 0; i < nr::kMacBytes; ++i) record.mac[i] = bytes.U8(nr::kMac + i);
}

bool HoldsNetworkFields(std::span<const std::uint8_t> reply) {
    namespace nr = network_reply;
    if (reply.size() <= nr::kAddressingMode) return false;
    const bool dhcp = reply[nr::kAddressingMode] == kDhcpMarker;
    return !dhcp || reply.size() >= nr::kDhcpGateway + 4;
}

std::optional<ControllerRecord> DecodeDiscoveryReply(std::span<const std::uint8_t> reply) {
    namespace nr = network_reply;
    const ByteReader bytes(reply);
    if (bytes.Size() < nr::kMinimumAcceptedBytes || bytes.U8(kGroupOffset) != kNetworkReplyGroup ||
        bytes.U8(kCodeOffset) != kNetworkReplyCode) {
        return std::nullopt;
    }
    ControllerRecord record;
    record.serial = bytes.Le32(nr::kSerial);
    ApplyNetworkReply(record, reply);
    record.variantCode = bytes.U8(nr::kVariantCode);
    record.webPort = bytes.Le16(nr::kWebPort);
    return record;
}

void SortBySerial(ControllerTable& table) {
    // Serials are unique after discovery; a stable sort keeps the order of discovery for
    // equal ones all the same, and places 0 and 0xFFFFFFFF like any other serial.
    std::stable_sort(table.records.begin(), table.records.begin() + table.count,
                     [](const ControllerRecord& a, const ControllerRecord& b) {
                         return a.serial < b.serial;
                     });
}

}  // namespace lumaro
