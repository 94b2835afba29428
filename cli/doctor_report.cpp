#include "cli/doctor_report.h"

#include <algorithm>

#include "cli/firewall_verdict.h"
#include "link/controller_text.h"
#include "platform/udp_socket.h"

namespace lumaro {

namespace {

using platform::BroadcastSocketTrial;
using platform::FirewallProfile;
using Lines = std::vector<DoctorLine>;

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string InterfaceName(const platform::LocalAddress& row) {
    return FormatAddress(row.address) + "/" + FormatAddress(row.mask);
}

DoctorLine InterfaceLine(const InterfaceFinding& finding) {
    const std::string name = "interface " + InterfaceName(finding.row) + ": ";
    switch (finding.use) {
        case InterfaceUse::Used: return {Verdict::Ok, name + "used"};
        case InterfaceUse::Duplicate:
            return {Verdict::Note, name + "used, but an earlier interface has the same address: "
                                          "searched twice, commands go through the first"};
        case InterfaceUse::NoAddress: return {Verdict::Skipped, name + "no address (0.0.0.0)"};
        case InterfaceUse::Loopback:
            return {Verdict::Skipped, name + "loopback, this PC itself"};
        case InterfaceUse::BeyondLimit:
            return {Verdict::Skipped,
                    name + "beyond the first " + std::to_string(kMaxInterfaceSockets) +
                        " interfaces, which are all that is searched"};
        case InterfaceUse::NoSocket: return {Verdict::Problem, name + "no socket (see below)"};
    }
    return {Verdict::Unknown, name};
}

std::string FailedStep(const char* step, const platform::SocketStep& result) {
    return std::string(step) + " failed: " + result.error + " (" +
           std::to_string(result.errorCode) + ")";
}

DoctorLine SocketLine(Ipv4Address address, const BroadcastSocketTrial& trial) {
    const std::string name = "socket " + FormatAddress(address) + ": ";
    if (!trial.create.succeeded) {
        return {Verdict::Problem, name + FailedStep("create", trial.create)};
    }
    if (!trial.bind.succeeded) return {Verdict::Problem, name + FailedStep("bind", trial.bind)};
    std::string text = name + "bound (port " + std::to_string(trial.localPort) + "), ";
    if (!trial.broadcast.succeeded) {
        return {Verdict::Problem, text + FailedStep("broadcast", trial.broadcast)};
    }
    text += "broadcast on, receive buffer ";
    const std::string asked = std::to_string(platform::kBroadcastReceiveBufferBytes);
    if (!trial.receiveBufferBytes) return {Verdict::Unknown, text + "size unknown"};
    text += std::to_string(*trial.receiveBufferBytes) + " bytes granted (" + asked + " asked";
    if (!trial.receiveBuffer.succeeded) {
        text += "; " + FailedStep("the request", trial.receiveBuffer);
    }
    text += ")";
    if (*trial.receiveBufferBytes < platform::kBroadcastReceiveBufferBytes) {
        return {Verdict::Note, text + ": on a crowded segment some replies may be lost"};
    }
    return {Verdict::Ok, text};
}

void AddInterfaces(const DoctorFindings& findings, Lines& lines) {
    if (!findings.socketLayerStarted) {
        lines.push_back({Verdict::Problem, "sockets: the system's socket layer did not start"});
    }
    if (!findings.addressTableRead) {
        lines.push_back(
            {Verdict::Problem, "interfaces: the system's address table cannot be read"});
        return;
    }
    for (const InterfaceFinding& finding : findings.interfaces) {
        lines.push_back(InterfaceLine(finding));
    }
    const bool anyUsed = std::ranges::any_of(findings.interfaces, [](const InterfaceFinding& f) {
        return f.use == InterfaceUse::Used;
    });
    if (!anyUsed) {
        lines.push_back({Verdict::Problem,
                         "interfaces: none to search through: connect this PC to the "
                         "controllers' switch and give that interface an IPv4 address"});
    }
    for (const InterfaceFinding& finding : findings.interfaces) {
        if (finding.trial) lines.push_back(SocketLine(finding.row.address, *finding.trial));
    }
}

void AddSearch(const DoctorFindings& findings, Lines& lines) {
    for (const InterfaceReplies& heard : findings.replies) {
        const std::string name = "search through " + FormatAddress(heard.address) + ": ";
        if (heard.serials.empty()) {
            lines.push_back({Verdict::Note, name + "no controller answered"});
        } else {
            lines.push_back({Verdict::Ok, name + Count(heard.serials.size(), "controller answered",
                                                       "controllers answered")});
        }
    }
}

std::string YesNoUnknown(const std::optional<bool>& answer, const char* yes, const char* no) {
    if (!answer) return "unknown";
    return *answer ? yes : no;
}

std::string Quoted(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

DoctorLine ProfileLine(const FirewallProfile& profile, const ReplyJudgement& judgement,
                       const std::optional<std::vector<platform::FirewallRule>>& rules) {
    const std::string name = "firewall, " + profile.name + " profile: ";
    if (judgement.verdict == ReplyVerdict::FirewallOff) return {Verdict::Ok, name + "off"};
    std::string text =
        name + "firewall " + YesNoUnknown(profile.enabled, "on", "off") + ", inbound " +
        YesNoUnknown(profile.inboundBlocked, "blocked unless allowed", "allowed") +
        ", replies to broadcasts " +
        YesNoUnknown(profile.unicastRepliesAllowed, "let in for 3 s", "not let in") + ", ";
    switch (judgement.verdict) {
        case ReplyVerdict::BlockedByRule:
            text += judgement.blockingRules.size() == 1
                        ? "the rule " + Quoted(judgement.blockingRules) + " blocks"
                        : "the rules " + Quoted(judgement.blockingRules) + " block";
            text += " this program (a block rule wins over any allow rule)";
            return {Verdict::Problem, text};
        case ReplyVerdict::AllowedByRule:
            return {Verdict::Ok, text + "a rule allows this program"};
        case ReplyVerdict::RepliesDropped:
            return {Verdict::Problem, text + "and no rule allows this program"};
        default:
            break;
    }
    text += rules ? "no rule blocks or allows this program" : "this program's rules unknown";
    return {judgement.verdict == ReplyVerdict::Unknown ? Verdict::Unknown : Verdict::Ok, text};
}

std::string NetworkName(const platform::ConnectedNetwork& network) {
    return network.name.empty() ? "(no name)" : "\"" + network.name + "\"";
}

void AddFirewall(const platform::FirewallState& firewall, Lines& lines) {
    if (!firewall.asked) {
        lines.push_back({Verdict::Note, "firewall: not checked on this system (only Windows "
                                        "Firewall is asked)"});
        return;
    }
    std::vector<std::string> problemProfiles;
    std::vector<std::string> blockingRules;
    if (!firewall.activeProfiles) {
        lines.push_back({Verdict::Unknown, "firewall: the system did not say which profiles are "
                                           "active"});
    } else {
        for (const FirewallProfile& profile : *firewall.activeProfiles) {
            const ReplyJudgement judgement = JudgeReplies(profile, firewall.programRules);
            lines.push_back(ProfileLine(profile, judgement, firewall.programRules));
            if (!IsProblem(judgement.verdict)) continue;
            problemProfiles.push_back(profile.name);
            for (const std::string& rule : judgement.blockingRules) {
                if (std::ranges::find(blockingRules, rule) == blockingRules.end()) {
                    blockingRules.push_back(rule);
                }
            }
        }
    }
    std::vector<std::string> publicNetworks;
    if (!firewall.networks) {
        lines.push_back({Verdict::Unknown, "networks: the system did not list the connected "
                                           "networks"});
    } else {
        for (const platform::ConnectedNetwork& network : *firewall.networks) {
            const std::string name = "network " + NetworkName(network) + ": ";
            if (!network.isPublic) {
                lines.push_back({Verdict::Unknown, name + "category unknown"});
            } else if (*network.isPublic) {
                lines.push_back({Verdict::Note, name + "public"});
                publicNetworks.push_back(NetworkName(network));
            } else {
                lines.push_back({Verdict::Ok, name + "private or domain"});
            }
        }
    }
    if (problemProfiles.empty()) return;
    std::string profiles;  // as netsh takes them
    std::string profileText;
    for (const std::string& name : problemProfiles) {
        profiles += (profiles.empty() ? "" : ",") + name;
        profileText += (profileText.empty() ? "" : " and ") + name;
    }
    lines.push_back({Verdict::Advice,
                     "Windows Firewall drops the controllers' replies (UDP from port 60000) in "
                     "the " + profileText + (problemProfiles.size() == 1 ? " profile" : " profiles") +
                     "; to let them in, run as administrator:"});
    for (const std::string& command :
         FirewallRepairCommands(firewall.program, blockingRules, profiles)) {
        lines.push_back({Verdict::Advice, command});
    }
    const bool publicProblem =
        std::ranges::find(problemProfiles, std::string("public")) != problemProfiles.end();
    if (publicProblem && !publicNetworks.empty()) {
        lines.push_back({Verdict::Advice, "or make the network " + publicNetworks.front() +
                                              " private if it is the controllers' one"});
    }
}

}  // namespace

std::vector<DoctorLine> DoctorReport(const DoctorFindings& findings) {
    Lines lines;
    AddInterfaces(findings, lines);
    AddSearch(findings, lines);
    AddFirewall(findings.firewall, lines);
    const std::size_t found = ControllersFound(findings);
    if (found > 0) {
        lines.push_back({Verdict::Ok, "found " + Count(found, "controller", "controllers")});
    } else {
        lines.push_back({Verdict::Problem,
                         "no controller answered: check the interfaces above, the cable and "
                         "the switch, and that the controllers are powered"});
    }
    return lines;
}

std::string FormatDoctorLine(const DoctorLine& line) {
    const char* verdict = "";
    switch (line.verdict) {
        case Verdict::Ok: verdict = "ok"; break;
        case Verdict::Skipped: verdict = "skipped"; break;
        case Verdict::Note: verdict = "note"; break;
        case Verdict::Problem: verdict = "problem"; break;
        case Verdict::Unknown: verdict = "unknown"; break;
        case Verdict::Advice: verdict = "advice"; break;
    }
    std::string text = verdict;
    text.resize(9, ' ');
    return text + line.text;
}

}  // namespace lumaro
