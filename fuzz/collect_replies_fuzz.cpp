// Whatever answers a discovery broadcast: the datagram reaches a collect twice, and the
// table must hold one record exactly when it is a network reply (4 bytes or more, starting
// 24 11), with every field read from the bytes that arrived and zero past them.

#include <chrono>

#include "fuzz/fuzz_target.h"
#include "fuzz/scripted_link.h"

using namespace std::chrono_literals;
using lumaro::ControllerRecord;
using lumaro::fuzz::ArrivedBytes;
using lumaro::fuzz::kFuzzHost;
using lumaro::fuzz::kFuzzHostMask;
using lumaro::fuzz::Require;

namespace {

// The record that a network reply of these bytes gives, read with the independent reader.
void RequireRecordOf(const ArrivedBytes& reply, const ControllerRecord& record) {
    const bool dhcp = reply.At(150) == 0xA5;
    Require(record.serial == reply.Le(8, 4), "serial from bytes 8-11");
    Require(record.variantCode == reply.At(18), "variant code from byte 18");
    Require(record.dhcpMarker == reply.At(150), "DHCP marker from byte 150");
    Require(record.ip == reply.Le(dhcp ? 404 : 136, 4), "address from 136-139 or 404-407");
    Require(record.mask == reply.Le(dhcp ? 408 : 140, 4), "mask from 140-143 or 408-411");
    Require(record.gateway == reply.Le(dhcp ? 412 : 144, 4), "gateway from 144-147 or 412-415");
    for (std::size_t i = 0; i < record.mac.size(); ++i) {
        Require(record.mac[i] == reply.At(130 + i), "MAC from bytes 130-135");
    }
    Require(record.webPort == reply.Le(484, 2), "web port from bytes 484-485");
}

}  // namespace

LUMARO_FUZZ_TARGET(collect_replies) {
    lumaro::fuzz::LinkOnScriptedLan lan;
    const lumaro::testing::Datagram bytes(datagram.begin(), datagram.end());
    lan.Network().Deliver(kFuzzHost, 0ms, bytes);
    lan.Network().Deliver(kFuzzHost, 3ms, bytes);  // the same controller answering again
    lan.Link().CollectReplies(0);

    const ArrivedBytes reply(datagram);
    const bool isReply = datagram.size() >= 4 && reply.At(0) == 0x24 && reply.At(1) == 0x11;
    const lumaro::ControllerTable& table = lan.Link().Table();
    Require(table.count == (isReply ? 1u : 0u), "one record exactly for a network reply");
    if (isReply) {
        const ControllerRecord& record = table.records[0];
        RequireRecordOf(reply, record);
        Require(record.hostAddress == kFuzzHost && record.hostMask == kFuzzHostMask,
                "host address and mask of the socket that heard it");
        Require(record.hostGateway == 0, "host gateway 0.0.0.0");
    }

    // The same decoding straight on the fuzzer's exactly sized buffer, where
    // AddressSanitizer sees every read past the datagram.
    ControllerRecord applied;
    applied.serial = reply.Le(8, 4);
    applied.variantCode = reply.At(18);
    applied.webPort = reply.Le(484, 2);
    lumaro::ApplyNetworkReply(applied, datagram);
    RequireRecordOf(reply, applied);
    Require(lumaro::DecodeDiscoveryReply(datagram).has_value() == isReply,
            "the acceptance test: 4 bytes or more, starting 24 11");
}
