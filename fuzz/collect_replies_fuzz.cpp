// Whatever answers a discovery broadcast: the datagram reaches a collect twice, and the
// table must hold one record exactly when it is a network reply (4 bytes or more, starting
// 24 11), with every field read from the bytes that arrived and zero past them.

#include <chrono>

#include "fuzz/fuzz_target.h"
#include "fuzz/scripted_link.h"

using namespace std::chrono_literals;
using lumaro::ControllerRecord;
using lumaro::fuzz::kFuzzHost;
using lumaro::fuzz::kFuzzHostMask;
using lumaro::fuzz::Require;
using lumaro::testing::RecordOfReply;
using lumaro::testing::SameReplyFields;

LUMARO_FUZZ_TARGET(collect_replies) {
    lumaro::fuzz::LinkOnScriptedLan lan;
    const lumaro::testing::Datagram bytes(datagram.begin(), datagram.end());
    lan.Network().Deliver(kFuzzHost, 0ms, bytes);
    lan.Network().Deliver(kFuzzHost, 3ms, bytes);  // the same controller answering again
    lan.Link().CollectReplies(0);

    const bool isReply = datagram.size() >= 4 && datagram[0] == 0x24 && datagram[1] == 0x11;
    const ControllerRecord expected = RecordOfReply(datagram);
    const lumaro::ControllerTable& table = lan.Link().Table();
    Require(table.count == (isReply ? 1u : 0u), "one record exactly for a network reply");
    if (isReply) {
        const ControllerRecord& record = table.records[0];
        Require(SameReplyFields(record, expected),
                "every field read from the bytes that arrived, zero past them");
        Require(record.hostAddress == kFuzzHost && record.hostMask == kFuzzHostMask,
                "host address and mask of the socket that heard it");
        Require(record.hostGateway == 0, "host gateway 0.0.0.0");
    }

    // The same decoding straight on the fuzzer's exactly sized buffer, where
    // AddressSanitizer sees every read past the datagram.
    ControllerRecord applied;
    applied.serial = expected.serial;
    applied.variantCode = expected.variantCode;
    applied.webPort = expected.webPort;
    lumaro::ApplyNetworkReply(applied, datagram);
    Require(SameReplyFields(applied, expected), "ApplyNetworkReply reads what arrived, zero past it");
    Require(lumaro::DecodeDiscoveryReply(datagram).has_value() == isReply,
            "the acceptance test: 4 bytes or more, starting 24 11");
}
