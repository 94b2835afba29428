// lumaro-cli doctor: what a technician checks when no controller shows up (the same checks
// as the window's "why is a controller missing?").

#include <cstdio>

#include "cli/console_language.h"
#include "cli/subcommands.h"
#include "workflow/doctor_findings.h"
#include "workflow/doctor_report.h"

namespace lumaro {

void AddDoctorCommand(CLI::App& program, int& exitCode) {
    CLI::App* command = program.add_subcommand(
        "doctor",
        "Why don't I see my controller? Checks every local IPv4 interface (used by the search, "
        "or skipped and why), a socket on each (bind, broadcast, the receive buffer granted), a "
        "search through each interface in turn, and on Windows the firewall and the category "
        "of the connected networks. One line per finding with its verdict; exit 0 when "
        "controllers were found, 1 otherwise.");
    command->callback([&exitCode] {
        const DoctorFindings findings = ExamineThisPc();
        const Language language = MessageLanguage();
        for (const DoctorLine& line : DoctorReport(findings, language)) {
            std::printf("%s\n", FormatDoctorLine(line, language).c_str());
        }
        std::fflush(stdout);
        exitCode = ControllersFound(findings) > 0 ? 0 : 1;
    });
}

}  // namespace lumaro
