#pragma once
// What lumaro-cli doctor looks at when no controller shows up: the PC's IPv4 interfaces as
// the search uses them, a trial socket on each, a search through each interface in turn,
// and the firewall.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "platform/firewall.h"
#include "platform/local_addresses.h"
#include "platform/socket_trial.h"

namespace lumaro {

// What the search makes of one row of the PC's address table.
enum class InterfaceUse {
    Used,         // it gets an interface socket
    Duplicate,    // used, but an earlier row has the same address: commands use that one
    NoAddress,    // 0.0.0.0
    Loopback,     // exactly 127.0.0.1
    BeyondLimit,  // 16 interfaces are in use already
    NoSocket,     // its socket cannot be opened (see the trial)
};

struct InterfaceFinding {
    platform::LocalAddress row;
    InterfaceUse use = InterfaceUse::Used;
    std::optional<platform::BroadcastSocketTrial> trial;  // for the rows that get one
};

using SocketTrialFunction = std::function<platform::BroadcastSocketTrial(Ipv4Address)>;

// Judges each row in table order as the link does when it opens its sockets (skipping 0.0.0.0
// and 127.0.0.1, at most 16 sockets, a row left out when its socket fails), with
// `trySocket` standing for the opening.
std::vector<InterfaceFinding> ExamineInterfaces(const std::vector<platform::LocalAddress>& table,
                                                const SocketTrialFunction& trySocket);

// The controllers that answered through one interface socket.
struct InterfaceReplies {
    Ipv4Address address = 0;
    std::vector<std::uint32_t> serials;
};

// The search, one interface at a time: the four discovery frames through that socket alone,
// and the controllers that answered through it. Opens the link's sockets; the socket layer
// must be started.
std::vector<InterfaceReplies> SearchEachInterface(ControllerLink& link);

struct DoctorFindings {
    bool socketLayerStarted = false;
    bool addressTableRead = false;
    std::vector<InterfaceFinding> interfaces;
    std::vector<InterfaceReplies> replies;
    platform::FirewallState firewall;
};

// The distinct controllers that answered through any interface.
std::size_t ControllersFound(const DoctorFindings& findings);

}  // namespace lumaro
