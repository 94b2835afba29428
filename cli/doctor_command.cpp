// lumaro-cli doctor: what a technician checks when no controller shows up.

#include <cstdio>

#include "cli/doctor_findings.h"
#include "cli/doctor_report.h"
#include "cli/subcommands.h"
#include "link/controller_link.h"
#include "platform/firewall.h"
#include "platform/socket_layer.h"

namespace lumaro {

namespace {

DoctorFindings Examine() {
    DoctorFindings findings;
    findings.socketLayerStarted = platform::StartSocketLayer(2, 2).succeeded;
    const auto table = platform::ReadLocalAddressTable();
    findings.addressTableRead = table.has_value();
    if (table) findings.interfaces = ExamineInterfaces(*table, platform::TryBroadcastSocket);
    {
        ControllerLink link;
        findings.replies = SearchEachInterface(link);
    }  // its sockets close before the socket layer is released
    findings.firewall = platform::ReadFirewallState();
    if (findings.socketLayerStarted) platform::StopSocketLayer();
    return findings;
}

}  // namespace

void AddDoctorCommand(CLI::App& program, int& exitCode) {
    CLI::App* command = program.add_subcommand(
        "doctor",
        "Why don't I see my controller? Checks every local IPv4 interface (used by the search, "
        "or skipped and why), a socket on each (bind, broadcast, the receive buffer granted), a "
        "search through each interface in turn, and on Windows the firewall and the category "
        "of the connected networks. One line per finding with its verdict; exit 0 when "
        "controllers were found, 1 otherwise.");
    command->callback([&exitCode] {
        const DoctorFindings findings = Examine();
        for (const DoctorLine& line : DoctorReport(findings)) {
            std::printf("%s\n", FormatDoctorLine(line).c_str());
        }
        std::fflush(stdout);
        exitCode = ControllersFound(findings) > 0 ? 0 : 1;
    });
}

}  // namespace lumaro
