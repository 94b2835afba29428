#pragma once
// A controller link on a scripted LAN of one PC interface (10.0.1.1/24), for fuzz targets:
// the target decides what reaches the link's socket and when (scripted/scripted_network.h),
// and nothing real is opened. The sequence counter starts at kFuzzSequence, the requests
// address kFuzzSerial; the seeds of fuzz/testdata answer exactly these.

#include <span>

#include "link/controller_link.h"
#include "scripted/reply_fields.h"
#include "scripted/scripted_network.h"

namespace lumaro::fuzz {

constexpr Ipv4Address kFuzzHost = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kFuzzHostMask = MakeIpv4(255, 255, 255, 0);
constexpr std::uint32_t kFuzzSequence = 0x01020304;
constexpr std::uint32_t kFuzzSerial = 4242;

class LinkOnScriptedLan {
public:
    LinkOnScriptedLan();  // the socket of kFuzzHost is open

    testing::ScriptedNetwork& Network() { return network_; }
    ControllerLink& Link() { return link_; }

    // `datagram` is already queued when a command starts (its drain reads it) and arrives
    // again 2 ms after each frame leaves (the reply wait takes it when it holds at least a
    // header).
    void AnswerCommandsWith(std::span<const std::uint8_t> datagram);

private:
    testing::ScriptedNetwork network_;
    ControllerLink link_;
};

}  // namespace lumaro::fuzz
