#pragma once
// What the doctor looks at when no controller shows up, for the console's doctor and the
// window's "why is a controller missing?": the PC's IPv4 interfaces as the search uses
// them, a trial socket on each, a search through each interface in turn, and the firewall.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "link/controller_link.h"
#include "link/interface_choice.h"
#include "platform/firewall.h"
#include "platform/local_addresses.h"
#include "platform/udp_socket.h"

namespace lumaro {

struct InterfaceFinding {
    platform::LocalAddress row;
    InterfaceUse use = InterfaceUse::Used;
    // For the rows that get one: how a socket beside the search's opened there.
    std::optional<platform::BroadcastSocketReport> trial;
};

using SocketTrialFunction = std::function<platform::BroadcastSocketReport(Ipv4Address)>;

// Judges each row in table order by the search's own rule (ChooseInterfaces), with
// `trySocket` standing for the opening.
std::vector<InterfaceFinding> ExamineInterfaces(const std::vector<platform::LocalAddress>& table,
                                                const SocketTrialFunction& trySocket);

// A trial socket on this address, opened as the link opens its own and closed again.
platform::BroadcastSocketReport TrySystemSocket(Ipv4Address local);

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

// Every check on this PC: its own start of the socket layer, a link of its own (its
// sockets beside any that the caller holds), the firewall.
DoctorFindings ExamineThisPc();

// The distinct controllers that answered through any interface.
std::size_t ControllersFound(const DoctorFindings& findings);

}  // namespace lumaro
