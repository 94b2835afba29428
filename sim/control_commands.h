#pragma once
// lumaro-sim's control commands (one line each, taken from its control directory): a table of
// verbs, each reading its arguments and acting on the running LAN through ControlTarget.
// The reply is "ok", "ok <figure>" or "error <reason>".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/ipv4_address.h"
#include "sim/simulator.h"

namespace lumaro::sim {

// What the commands act on: the program's LAN of simulated controllers.
class ControlTarget {
public:
    virtual ~ControlTarget() = default;
    // Replaces the LAN by the controllers of the file; the reason when it cannot.
    virtual std::optional<std::string> Load(const std::string& controllerFile) = 0;
    virtual bool Running() const = 0;  // a LAN is up
    virtual bool Knows(std::uint32_t serial) const = 0;
    virtual void ClearLog() = 0;
    virtual bool WriteImages(const std::string& path) = 0;
    virtual void SetBehaviour(std::uint32_t serial, Behaviour behaviour) = 0;
    virtual void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                          const std::vector<std::uint8_t>& bytes) = 0;
    virtual std::size_t AnswersSent() const = 0;
    virtual void WaitUntilIdle() = 0;  // every datagram that arrived is handled
    // "restarts=N clock=HEX|none image=HEX" of one controller.
    virtual std::string State(std::uint32_t serial) const = 0;
    virtual long long MillisecondsSinceStart() const = 0;
};

// Every command with its arguments, for the program's help and an unknown command's reply.
extern const char* const kControlCommands;

std::string RunControlCommand(const std::string& line, ControlTarget& target);

}  // namespace lumaro::sim
