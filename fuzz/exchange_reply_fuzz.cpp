// Whatever answers a command: the datagram is queued when each command starts and
// arrives again 2 ms after its frame leaves. The reply rule must hold for any bytes: a
// datagram of a header or more is the reply, advances the counter and makes the command
// answered when its sequence matches (of the wrong sequence otherwise); a shorter one is
// never the reply. A network reply
// taken from the receive buffer must read only the bytes that arrived.

#include "fuzz/fuzz_target.h"
#include "fuzz/scripted_link.h"

using lumaro::fuzz::kFuzzHost;
using lumaro::fuzz::kFuzzSequence;
using lumaro::fuzz::kFuzzSerial;
using lumaro::fuzz::Require;
using lumaro::testing::RecordOfReply;
using lumaro::testing::SameReplyFields;

LUMARO_FUZZ_TARGET(exchange_reply) {
    lumaro::fuzz::LinkOnScriptedLan lan;
    lan.AnswerCommandsWith(datagram);
    lumaro::ControllerLink& link = lan.Link();
    const lumaro::ByteReader arrived(datagram);
    const bool isReply = datagram.size() >= 20;

    // A request with an ordinary sequence takes only a reply that carries it.
    using lumaro::CommandReply;
    const CommandReply read = link.ReadNetworkParameters(kFuzzHost, kFuzzSerial);
    const bool matches = isReply && arrived.Le32(4) == kFuzzSequence;
    const CommandReply expectedRead = !isReply ? CommandReply::Silent
                                      : matches ? CommandReply::Answered
                                                : CommandReply::WrongSequence;
    Require(read == expectedRead,
            "answered exactly for a reply of the request's sequence, silent without a reply");
    Require(link.SequenceCounter() == kFuzzSequence + (isReply ? 1u : 0u),
            "the counter advances exactly when a reply came");
    Require(lumaro::SequenceMatches(kFuzzSequence, datagram) == (arrived.Le32(4) == kFuzzSequence),
            "SequenceMatches compares bytes 4-7, zero past the end");
    if (isReply) {
        const auto reply = link.ReceivedReply();
        Require(reply.size() == datagram.size() &&
                    std::equal(reply.begin(), reply.end(), datagram.begin()),
                "the receive buffer holds the reply as it arrived");
    }
    if (read == CommandReply::Answered) {
        // What a caller does with the answer to ReadNetworkParameters.
        lumaro::ControllerRecord record = RecordOfReply(datagram);
        const lumaro::ControllerRecord expected = record;
        record.ip = record.mask = record.gateway = record.dhcpMarker = 0;
        record.mac = {};
        lumaro::ApplyNetworkReply(record, link.ReceivedReply());
        Require(SameReplyFields(record, expected), "the refreshed fields read from the reply");
    }

    // A request sent with the counter at 0xFFFFFFFF takes any reply, and the counter wraps.
    link.SetSequenceCounter(0xFFFFFFFFu);
    const CommandReply restart = link.RestartController(kFuzzHost, kFuzzSerial);
    Require(restart == (isReply ? CommandReply::Answered : CommandReply::Silent),
            "counter 0xFFFFFFFF takes any reply");
    Require(link.SequenceCounter() == (isReply ? 0u : 0xFFFFFFFFu), "the counter wraps to 0");
}
