#pragma once
// A network reply's fields read straight from its bytes, with the offsets written out
// here: an independent reader to check the link's decoding against (fuzz targets, the
// hostile LAN). Bytes past the end of what arrived read as zero.

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/controller_record.h"

namespace lumaro::testing {

class ArrivedBytes {
public:
    explicit ArrivedBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint8_t At(std::size_t i) const { return i < bytes_.size() ? bytes_[i] : 0; }
    // `count` bytes from `i` on, little-endian.
    std::uint32_t Le(std::size_t i, int count) const {
        std::uint32_t value = 0;
        for (int k = count - 1; k >= 0; --k) value = (value << 8) | At(i + static_cast<std::size_t>(k));
        return value;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// The fields that a record takes from a network reply of these bytes (the host fields
// stay zero).
inline ControllerRecord RecordOfReply(std::span<const std::uint8_t> reply) {
    const ArrivedBytes bytes(reply);
    const bool dhcp = bytes.At(150) == 0xA5;
    ControllerRecord record;
    record.serial = bytes.Le(8, 4);
    record.variantCode = bytes.At(18);
    record.dhcpMarker = bytes.At(150);
    record.ip = bytes.Le(dhcp ? 404 : 136, 4);
    record.mask = bytes.Le(dhcp ? 408 : 140, 4);
    record.gateway = bytes.Le(dhcp ? 412 : 144, 4);
    for (std::size_t i = 0; i < record.mac.size(); ++i) record.mac[i] = bytes.At(130 + i);
    record.webPort = bytes.Le(484, 2);
    return record;
}

// Whether two records hold the same fields of a reply (the host fields are not compared).
inline bool SameReplyFields(const ControllerRecord& a, const ControllerRecord& b) {
    return a.serial == b.serial && a.variantCode == b.variantCode && a.dhcpMarker == b.dhcpMarker &&
           a.ip == b.ip && a.mask == b.mask && a.gateway == b.gateway && a.mac == b.mac &&
           a.webPort == b.webPort;
}

}  // namespace lumaro::testing
