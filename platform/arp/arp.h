#pragma once
// ARP: who has this IPv4 address on the segment of one of the PC's interfaces?

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/net/ipv4_address.h"

namespace lumaro::platform {

using HardwareAddress = std::array<std::uint8_t, 6>;

// How long a request waits for an answer before it counts as unanswered. The request is
// repeated once a second meanwhile, as the systems' own address resolution does, so a host
// that misses one request still answers.
constexpr std::chrono::seconds kArpWait{3};
// A neighbour entry that the system is still checking (it had an older answer and now asks
// again) can take its first re-check delay (5 s on Linux) plus the re-check: wait longer.
constexpr std::chrono::seconds kNeighbourRecheckWait{9};

// What an ARP request found out. "Nobody answered" and "the request could not be made" must
// not be confused: the PC's address gone, its cable pulled or the system refusing the
// request would otherwise make every address look free.
class ArpResult {
public:
    enum class Outcome {
        Answered,     // a host answered, with its hardware address
        NoAnswer,     // the request went out and nobody answered in time
        CouldNotAsk,  // no request could be made (no interface with the source address, ...)
    };

    static ArpResult AnsweredBy(const HardwareAddress& answer) {
        return ArpResult(Outcome::Answered, answer);
    }
    static ArpResult NoAnswer() { return ArpResult(Outcome::NoAnswer, {}); }
    static ArpResult CouldNotAsk() { return ArpResult(Outcome::CouldNotAsk, {}); }

    Outcome outcome() const { return outcome_; }
    bool Answered() const { return outcome_ == Outcome::Answered; }
    bool Asked() const { return outcome_ != Outcome::CouldNotAsk; }
    // The answering host's hardware address; nothing unless Answered().
    std::optional<HardwareAddress> Answer() const {
        return Answered() ? std::optional<HardwareAddress>(answer_) : std::nullopt;
    }

    friend bool operator==(const ArpResult&, const ArpResult&) = default;

private:
    ArpResult(Outcome outcome, const HardwareAddress& answer)
        : outcome_(outcome), answer_(answer) {}

    Outcome outcome_;
    HardwareAddress answer_;
};

// Sends an ARP request for `target` from the local interface whose address is `source`:
// the hardware address of the host that answered, no answer in time, or "could not ask"
// (no interface holds `source` any more, the system refused the request). An address of
// this PC counts as answered, with its own interface's hardware address: it is in use.
//
// On Linux the request goes on the wire from a packet socket; without the right to open one
// (root or CAP_NET_RAW) the system's neighbour table is used instead, as below. On Windows
// the system's SendARP does it; where that is not supported (Wine), the neighbour table.
ArpResult RequestHardwareAddress(Ipv4Address target, Ipv4Address source);

// The neighbour-table way: makes the system resolve `target` (one datagram to it from
// `source`) and reads the system's neighbour table until the entry is settled. An entry
// counts only when the system confirmed it during this request (or holds it as freshly
// confirmed): an older entry that the system no longer trusts is not an answer. The table
// that cannot be read, or a datagram that cannot be sent, is "could not ask".
ArpResult ResolveThroughNeighbourTable(Ipv4Address target, Ipv4Address source);

// The datagram that makes the system resolve `target`: one empty datagram to its discard
// port from a socket bound to `source`. False when it could not be sent.
bool PromptResolution(Ipv4Address target, Ipv4Address source);

}  // namespace lumaro::platform
