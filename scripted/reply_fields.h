#pragma once
// A network reply's fields read straight from its bytes, with the offsets written out
// here: an independent decoding to check the link's against (fuzz targets, the hostile
// LAN). Bytes past the end of what arrived read as zero (ByteReader).

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/byte_io.h"
#include "link/controller_record.h"

namespace lumaro::testing {

// The fields that a record takes from a network reply of these bytes (the host fields
// stay zero).
inline ControllerRecord RecordOfReply(std::span<const std::uint8_t> reply) {
    const ByteReader bytes(reply);
    const bool dhcp = bytes.U8(150) == 0xA5;
    ControllerRecord record;
    record.serial = bytes.Le32(8);
    record.variantCode = bytes.U8(18);
    record.dhcpMarker = bytes.U8(150);
    record.ip = bytes.Le32(dhcp ? 404 : 136);
    record.mask = bytes.Le32(dhcp ? 408 : 140);
    record.gateway = bytes.Le32(dhcp ? 412 : 144);
    for (std::size_t i = 0; i < record.mac.size(); ++i) record.mac[i] = bytes.U8(130 + i);
    record.webPort = bytes.Le16(484);
    return record;
}

// Whether two records hold the same fields of a reply (the host fields are not compared).
inline bool SameReplyFields(const ControllerRecord& a, const ControllerRecord& b) {
    return a.serial == b.serial && a.variantCode == b.variantCode && a.dhcpMarker == b.dhcpMarker &&
           a.ip == b.ip && a.mask == b.mask && a.gateway == b.gateway && a.mac == b.mac &&
           a.webPort == b.webPort;
}

}  // namespace lumaro::testing
