#pragma once
// Simulated controllers on the scripted LAN's virtual clock: the simulator's own answers to
// each frame (sim/controller_protocol.h), without sockets, threads or a network namespace.
// Every controller hears the PC's broadcasts; a unicast reaches the controller that uses its
// destination address now. Answers arrive 1 ms after the frame left, in the controllers'
// order. For decisions that do not need the wire's timing: a search takes no real time.

#include <cstdint>
#include <memory>
#include <vector>

#include "scripted/scripted_network.h"
#include "sim/controller_protocol.h"
#include "sim/simulator.h"

namespace lumaro::testing {

class ScriptedControllers {
public:
    // The controllers of `specs`, behind the PC interface `pcAddress`/`pcMask` of `network`
    // (added to it), until this object goes.
    ScriptedControllers(ScriptedNetwork& network, Ipv4Address pcAddress, Ipv4Address pcMask,
                        const std::vector<sim::ControllerSpec>& specs);

    // As sim::Simulator gives them.
    std::vector<sim::ReceivedFrame> Log() const;
    std::vector<sim::ReceivedFrame> LogOf(std::uint32_t serial) const;
    void ClearLog();
    sim::ControllerSpec Current(std::uint32_t serial) const;
    void SetBehaviour(std::uint32_t serial, const sim::Behaviour& behaviour);

    struct State;

private:
    std::shared_ptr<State> state_;  // shared with the network's answerer
};

}  // namespace lumaro::testing
