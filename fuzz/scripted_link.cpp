#include "fuzz/scripted_link.h"

#include <chrono>

namespace lumaro::fuzz {

using namespace std::chrono_literals;

namespace {

testing::ScriptedNetwork OneInterface() {
    testing::ScriptedNetwork network;
    network.AddInterface(kFuzzHost, kFuzzHostMask);
    return network;
}

}  // namespace

LinkOnScriptedLan::LinkOnScriptedLan()
    : network_(OneInterface()), link_(network_.Environment()) {
    link_.OpenInterfaceSockets();
    link_.SetSequenceCounter(kFuzzSequence);
}

void LinkOnScriptedLan::AnswerCommandsWith(std::span<const std::uint8_t> datagram) {
    const testing::Datagram bytes(datagram.begin(), datagram.end());
    network_.Deliver(kFuzzHost, 0ms, bytes);
    network_.AnswerEverySend(kFuzzHost, 2ms, bytes);
}

}  // namespace lumaro::fuzz
