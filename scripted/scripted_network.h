#pragma once
// A LAN on a virtual clock for the link's counting rules, its time limits and its fuzz
// targets. The link opens scripted sockets (through LinkEnvironment) whose waits,
// receives and sends follow a script and are counted; no real socket is opened and no
// real time passes. A wait that nothing ends moves the clock on by its whole timeout; a
// wait that a datagram ends moves it to the datagram's arrival; a failed wait takes no time.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/controller_link.h"

namespace lumaro::testing {

// What the scripted LAN's calendar clock reads; the link seeds its sequence counter from it.
constexpr std::int64_t kScriptedSecondsSince1970 = 1'700'000'000;

using Datagram = std::vector<std::uint8_t>;
using VirtualTime = std::chrono::microseconds;  // since the network was made

struct SocketCounts {
    std::size_t waits = 0;            // every readiness wait, whatever it gave
    std::size_t waitsBeforeSend = 0;  // the waits before the first send
    std::size_t receives = 0;
    std::size_t sends = 0;
    bool operator==(const SocketCounts&) const = default;
};

struct SentDatagram {
    Ipv4Address destination = 0;
    std::uint16_t port = 0;
    Datagram bytes;
    VirtualTime at{};
};

class ScriptedNetwork {
public:
    ScriptedNetwork();

    // A local address of the PC, listed in the address table in the order added; the link's
    // socket for it is scripted by the calls below.
    void AddInterface(Ipv4Address address, Ipv4Address mask = MakeIpv4(255, 255, 255, 0));

    // `bytes` reach the socket of `address` at `at`.
    void Deliver(Ipv4Address address, VirtualTime at, Datagram bytes);
    // After every send from the socket of `address`, `bytes` arrive `delay` later.
    void AnswerEverySend(Ipv4Address address, VirtualTime delay, Datagram bytes);
    // After every send from the socket of `address`, the datagrams that `answer` gives for
    // it arrive `delay` later, in their order (a LAN of devices that act on what they get).
    using Answerer = std::function<std::vector<Datagram>(const SentDatagram& sent)>;
    void AnswerEverySendWith(Ipv4Address address, VirtualTime delay, Answerer answer);
    // From `from` on, `bytes` arrive every `period`, for ever (a chatty sender, a flood).
    void Chatter(Ipv4Address address, VirtualTime from, VirtualTime period, Datagram bytes);
    // The next `count` waits on the socket of `address` fail at once.
    void FailWaits(Ipv4Address address, std::size_t count);
    // From now on a wait that nothing ends lasts until the system timer's next tick at or
    // after its timeout, as on Windows: ticks `fine` apart while the link holds the fine
    // timer, `coarse` apart otherwise (the ticks counted from the network's start). A wait
    // that a datagram ends still ends at its arrival.
    void TickTimer(VirtualTime coarse, VirtualTime fine);

    // The link's view of this network: its address table, scripted sockets, the virtual
    // clock and a fixed calendar.
    LinkEnvironment Environment() const;

    // What the link asked of the system's timer.
    struct FineTimerUse {
        std::size_t requests = 0;
        std::size_t releases = 0;
        std::size_t waitsWithout = 0;  // readiness waits while the fine timer was not held
    };
    FineTimerUse FineTimer() const;

    SocketCounts Counts(Ipv4Address address) const;
    std::vector<SentDatagram> Sent(Ipv4Address address) const;
    VirtualTime Now() const;

    // The part of a receive area behind a received datagram is filled with this, as stale
    // bytes of an earlier datagram would be: a reader that goes past what arrived sees it.
    static constexpr std::uint8_t kStaleByte = 0xEE;

    struct State;

private:
    std::shared_ptr<State> state_;  // shared with the sockets, which may outlive this object
};

// Bytes 0..length-1 of a datagram of `length` bytes: `start` followed by zeros.
Datagram DatagramOf(std::size_t length, std::initializer_list<std::uint8_t> start = {});

}  // namespace lumaro::testing
