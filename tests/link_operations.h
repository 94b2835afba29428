#pragma once
// Every command of the link as a table of operations on one addressed controller: how the
// transmit buffer is composed, the command, the frame it sends and the image bytes it may
// change there; and one run of an operation with the data-safety check. The data-safety
// and hostile-LAN tests run them all.

#include <functional>
#include <vector>

#include "link/controller_link.h"
#include "tests/command_reply_printer.h"
#include "link/masked_write.h"
#include "tests/controller_images.h"
#include "tests/image_watch.h"

namespace lumaro::testing {

struct LinkOperation {
    const char* what;
    std::function<void(TransmitBuffer&)> compose;  // on the cleared transmit buffer
    // Sends it; `controllerIp` is where the addressed controller is now (for the probe).
    std::function<CommandReply(ControllerLink&, Ipv4Address controllerIp)> command;
    std::size_t frameLength;
    bool unicast;
    FrameBytes written;  // in the addressed controller; nothing changes anywhere else
};

// Unmarked bytes that an earlier composition left: a controller must not take them.
inline void LeaveUnmarkedBytes(TransmitBuffer& buffer) {
    buffer[119] = 0x77;
    buffer[500] = 0x66;
    buffer[1043] = 0x55;
}

// The commands, in an order that leaves the addressed controller reachable: its network
// write (to `movedTo`) comes after the probe and the reads.
inline std::vector<LinkOperation> EveryLinkCommand(Ipv4Address host, std::uint32_t serial,
                                                   Ipv4Address movedTo) {
    const auto nothing = [](TransmitBuffer&) {};
    const auto write = [host, serial](ControllerLink& l, Ipv4Address) { return l.WriteSettings(host, serial); };
    return {
        {"probe", nothing,
         [host, serial](ControllerLink& l, Ipv4Address ip) { return l.ProbeController(ip, host, serial); },
         24, true, written_by::Nothing()},
        {"read network parameters", nothing,
         [host, serial](ControllerLink& l, Ipv4Address) { return l.ReadNetworkParameters(host, serial); },
         20, false, written_by::Nothing()},
        {"settings group", [](TransmitBuffer& b) { LaySettingsGroup(b, 80, 4, 1); },
         write, 1172, false, written_by::SettingsGroup()},
        {"settings group over bytes left unmarked",
         [](TransmitBuffer& b) {
             LeaveUnmarkedBytes(b);
             LaySettingsGroup(b, 8080, 2, 0);
         },
         write, 1172, false, written_by::SettingsGroup()},
        {"web-off settings group", [](TransmitBuffer& b) { LayWebOffSettingsGroup(b, 1); },
         write, 1172, false, written_by::WebOffSettingsGroup()},
        {"DHCP group", [](TransmitBuffer& b) { LayDhcpGroup(b); },
         write, 1172, false, written_by::DhcpGroup()},
        {"settings and DHCP groups (first frame of an apply)",
         [](TransmitBuffer& b) {
             LaySettingsGroup(b, 80, 0, 0);
             LayDhcpGroup(b);
         },
         write, 1172, false, Union({written_by::SettingsGroup(), written_by::DhcpGroup()})},
        {"network, settings and DHCP groups (second frame of an apply)",
         [movedTo](TransmitBuffer& b) {
             LaySettingsGroup(b, 80, 0, 0);
             LayDhcpGroup(b);
             LayNetworkGroup(b, movedTo, MakeIpv4(255, 255, 255, 0), 0);
         },
         write, 1172, false,
         Union({written_by::NetworkGroup(), written_by::SettingsGroup(), written_by::DhcpGroup()})},
        {"clock", nothing,
         [host, serial](ControllerLink& l, Ipv4Address) { return l.SetControllerClock(host, serial); },
         28, false, written_by::Nothing()},
        {"restart", [](TransmitBuffer& b) { LayWebOffSettingsGroup(b, 0); },  // as after a web-off write
         [host, serial](ControllerLink& l, Ipv4Address) { return l.RestartController(host, serial); },
         24, false, written_by::Nothing()},
    };
}

// Composes and sends one operation to `serial`, waits until every controller that is to
// receive its frame has it (`everyController` for a broadcast, `serial` alone for the
// probe) and checks that no image byte changed except those it writes in `serial`.
// Gives the command's reply.
inline CommandReply RunWithDataSafetyCheck(const LinkOperation& operation, ControllerLink& link,
                                  sim::Simulator& lan, std::uint32_t serial,
                                  const std::vector<std::uint32_t>& everyController) {
    lan.ClearLog();
    link.ClearTransmitBuffer();
    operation.compose(link.Transmit());
    const ImageWatch watch(lan);
    const CommandReply reply = operation.command(link, lan.Current(serial).ip);

    const std::span<const std::uint8_t> sent(link.Transmit().data(), operation.frameLength);
    const auto receivers = operation.unicast ? std::vector<std::uint32_t>{serial} : everyController;
    EXPECT_TRUE(AwaitFrameLogged(lan, sent, receivers)) << operation.what << ": the frame never arrived";
    EXPECT_TRUE(watch.ChangedOnly({{serial, operation.written}})) << operation.what;
    return reply;
}

}  // namespace lumaro::testing
