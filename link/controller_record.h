#pragma once
// One discovered controller, the table of them, and the decoding of a network reply.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/net/ipv4_address.h"

namespace lumaro {

struct ControllerRecord {
    std::array<std::uint8_t, 6> mac{};
    Ipv4Address ip = 0;
    Ipv4Address mask = 0;
    Ipv4Address gateway = 0;
    Ipv4Address hostAddress = 0;  // the PC address through which it answered
    Ipv4Address hostGateway = 0;  // always 0.0.0.0: the interface table has no gateway
    Ipv4Address hostMask = 0;
    std::uint32_t dhcpMarker = 0;
    std::uint32_t serial = 0;
    std::uint32_t variantCode = 0;
    std::uint32_t webPort = 0;
};

struct ControllerTable {
    static constexpr std::size_t kCapacity = 256;
    std::array<ControllerRecord, kCapacity> records{};
    std::size_t count = 0;

    std::span<const ControllerRecord> Found() const { return {records.data(), count}; }

    // Row k of the controller list shows record k, and the list never holds more rows than
    // the table has room for: whether a list row can show a record, and its record (nothing
    // for a row beyond the table's room).
    static constexpr bool HasRoomForRow(int row) {
        return row >= 0 && static_cast<std::size_t>(row) < kCapacity;
    }
    const ControllerRecord* RecordOfRow(int row) const {
        return HasRoomForRow(row) ? &records[static_cast<std::size_t>(row)] : nullptr;
    }
};

// Sets dhcpMarker, ip, mask, gateway and mac from a network reply; with the DHCP marker
// 0xA5 the addresses come from the DHCP fields. Bytes the reply did not carry read as zero.
void ApplyNetworkReply(ControllerRecord& record, std::span<const std::uint8_t> reply);

// Whether `reply` carries every byte that ApplyNetworkReply reads from it: the MAC, the
// addresses and the addressing mode (bytes 130-150), and with the DHCP marker the DHCP
// addresses too (404-415). A shorter answer to a read tells nothing of the controller.
bool HoldsNetworkFields(std::span<const std::uint8_t> reply);

// A discovery reply as a record (serial, addresses, MAC, variant code, web port), or an
// empty optional when the datagram is not a network reply (under 4 bytes, or not
// starting 0x24 0x11). The host fields are left for the caller.
std::optional<ControllerRecord> DecodeDiscoveryReply(std::span<const std::uint8_t> reply);

// Puts records 0..count-1 in ascending unsigned order of serial; every record keeps its
// place in the table exactly once, serials 0 and 0xFFFFFFFF included.
void SortBySerial(ControllerTable& table);

}  // namespace lumaro
