#include "workflow/doctor_report.h"

#include <algorithm>

#include "link/controller_text.h"
#include "platform/udp_socket.h"
#include "texts/catalogue.h"
#include "workflow/firewall_verdict.h"

namespace lumaro {

namespace {

using platform::BroadcastSocketReport;
using platform::BroadcastSocketStep;
using platform::FirewallProfile;
using Lines = std::vector<DoctorLine>;

// The report's texts in one language.
class Words {
public:
    explicit Words(Language language) : language_(language) {}
    std::string operator()(TextId id) const { return std::string(Text(id, language_)); }
    std::string operator()(TextId id, std::initializer_list<std::string_view> values) const {
        return FormatText(id, language_, values);
    }

private:
    Language language_;
};

std::string InterfaceName(const platform::LocalAddress& row) {
    return FormatAddress(row.address) + "/" + FormatAddress(row.mask);
}

DoctorLine InterfaceLine(const InterfaceFinding& finding, const Words& words) {
    const std::string name = InterfaceName(finding.row);
    switch (finding.use) {
        case InterfaceUse::Used: return {Verdict::Ok, words(TextId::DoctorInterfaceUsed, {name})};
        case InterfaceUse::Duplicate:
            return {Verdict::Note, words(TextId::DoctorInterfaceDuplicate, {name})};
        case InterfaceUse::NoAddress:
            return {Verdict::Skipped, words(TextId::DoctorInterfaceNoAddress, {name})};
        case InterfaceUse::Loopback:
            return {Verdict::Skipped, words(TextId::DoctorInterfaceLoopback, {name})};
        case InterfaceUse::BeyondLimit:
            return {Verdict::Skipped, words(TextId::DoctorInterfaceBeyondLimit,
                                            {name, std::to_string(kMaxInterfaceSockets)})};
        case InterfaceUse::NoSocket:
            return {Verdict::Problem, words(TextId::DoctorInterfaceNoSocket, {name})};
    }
    return {Verdict::Unknown, name};
}

TextId StepName(BroadcastSocketStep step) {
    switch (step) {
        case BroadcastSocketStep::Create: return TextId::DoctorStepCreate;
        case BroadcastSocketStep::Bind: return TextId::DoctorStepBind;
        case BroadcastSocketStep::BlockingMode: return TextId::DoctorStepBlocking;
        case BroadcastSocketStep::Broadcast: return TextId::DoctorStepBroadcast;
    }
    return TextId::DoctorStepCreate;
}

std::string FailedStep(TextId step, const platform::SocketError& error, const Words& words) {
    return words(TextId::DoctorStepFailed,
                 {words(step), error.text, std::to_string(error.code)});
}

DoctorLine SocketLine(Ipv4Address address, const BroadcastSocketReport& trial,
                      const Words& words) {
    const std::string name = FormatAddress(address);
    const std::string port = std::to_string(trial.localPort);
    if (trial.failure) {
        const std::string failed = FailedStep(StepName(trial.failure->step), trial.failure->error,
                                              words);
        const bool beforeBound = trial.failure->step == BroadcastSocketStep::Create ||
                                 trial.failure->step == BroadcastSocketStep::Bind;
        return {Verdict::Problem,
                beforeBound ? words(TextId::DoctorSocketFailed, {name, failed})
                            : words(TextId::DoctorSocketFailedAfterBind, {name, port, failed})};
    }
    if (!trial.receiveBufferBytes) {
        return {Verdict::Unknown, words(TextId::DoctorSocketBufferUnknown, {name, port})};
    }
    const std::string refused =
        trial.receiveBufferRefused
            ? words(TextId::DoctorBufferRequestFailed,
                    {FailedStep(TextId::DoctorStepReceiveBuffer, *trial.receiveBufferRefused,
                                words)})
            : std::string();
    const std::string text =
        words(TextId::DoctorSocketBuffer,
              {name, port, std::to_string(*trial.receiveBufferBytes),
               std::to_string(platform::kBroadcastReceiveBufferBytes), refused});
    if (*trial.receiveBufferBytes < platform::kBroadcastReceiveBufferBytes) {
        return {Verdict::Note, words(TextId::DoctorBufferSmall, {text})};
    }
    return {Verdict::Ok, text};
}

void AddInterfaces(const DoctorFindings& findings, Lines& lines, const Words& words) {
    if (!findings.socketLayerStarted) {
        lines.push_back({Verdict::Problem, words(TextId::DoctorSocketsNotStarted)});
    }
    if (!findings.addressTableRead) {
        lines.push_back({Verdict::Problem, words(TextId::DoctorAddressTableUnread)});
        return;
    }
    for (const InterfaceFinding& finding : findings.interfaces) {
        lines.push_back(InterfaceLine(finding, words));
    }
    const bool anyUsed = std::ranges::any_of(findings.interfaces, [](const InterfaceFinding& f) {
        return f.use == InterfaceUse::Used;
    });
    if (!anyUsed) lines.push_back({Verdict::Problem, words(TextId::DoctorNoInterface)});
    for (const InterfaceFinding& finding : findings.interfaces) {
        if (finding.trial) lines.push_back(SocketLine(finding.row.address, *finding.trial, words));
    }
}

void AddSearch(const DoctorFindings& findings, Lines& lines, const Words& words) {
    for (const InterfaceReplies& heard : findings.replies) {
        const std::string name = FormatAddress(heard.address);
        const std::size_t count = heard.serials.size();
        if (count == 0) {
            lines.push_back({Verdict::Note, words(TextId::DoctorSearchNone, {name})});
        } else {
            lines.push_back({Verdict::Ok, words(count == 1 ? TextId::DoctorSearchOne
                                                           : TextId::DoctorSearchMany,
                                                {name, std::to_string(count)})});
        }
    }
}

std::string OnOffUnknown(const std::optional<bool>& answer, TextId yes, TextId no,
                         const Words& words) {
    if (!answer) return words(TextId::DoctorUnknown);
    return words(*answer ? yes : no);
}

std::string Quoted(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

// The profile's name for a person; netsh's own name stays in the commands.
std::string ProfileName(const FirewallProfile& profile, const Words& words) {
    switch (profile.bit) {
        case platform::kDomainProfile: return words(TextId::DoctorProfileDomain);
        case platform::kPrivateProfile: return words(TextId::DoctorProfilePrivate);
        case platform::kPublicProfile: return words(TextId::DoctorProfilePublic);
        default: return profile.name;
    }
}

DoctorLine ProfileLine(const FirewallProfile& profile, const ReplyJudgement& judgement,
                       const std::optional<std::vector<platform::FirewallRule>>& rules,
                       const Words& words) {
    const std::string name = ProfileName(profile, words);
    if (judgement.verdict == ReplyVerdict::FirewallOff) {
        return {Verdict::Ok, words(TextId::DoctorProfileOff, {name})};
    }
    const auto line = [&](TextId rulesText, std::initializer_list<std::string_view> values) {
        return words(TextId::DoctorProfileState,
                     {name,
                      OnOffUnknown(profile.enabled, TextId::DoctorOn, TextId::DoctorOff, words),
                      OnOffUnknown(profile.inboundBlocked, TextId::DoctorInboundBlocked,
                                   TextId::DoctorInboundAllowed, words),
                      OnOffUnknown(profile.unicastRepliesAllowed, TextId::DoctorRepliesLetIn,
                                   TextId::DoctorRepliesNotLetIn, words),
                      words(rulesText, values)});
    };
    switch (judgement.verdict) {
        case ReplyVerdict::BlockedByRule:
            return {Verdict::Problem,
                    line(judgement.blockingRules.size() == 1 ? TextId::DoctorRuleBlocks
                                                             : TextId::DoctorRulesBlock,
                         {Quoted(judgement.blockingRules)})};
        case ReplyVerdict::AllowedByRule:
            return {Verdict::Ok, line(TextId::DoctorRuleAllows, {})};
        case ReplyVerdict::RepliesDropped:
            return {Verdict::Problem, line(TextId::DoctorNoRuleAllows, {})};
        default:
            break;
    }
    return {judgement.verdict == ReplyVerdict::Unknown ? Verdict::Unknown : Verdict::Ok,
            line(rules ? TextId::DoctorNoRule : TextId::DoctorRulesUnknown, {})};
}

std::string NetworkName(const platform::ConnectedNetwork& network, const Words& words) {
    return network.name.empty() ? words(TextId::DoctorNetworkNoName) : "\"" + network.name + "\"";
}

void AddFirewall(const platform::FirewallState& firewall, Lines& lines, const Words& words) {
    if (!firewall.asked) {
        lines.push_back({Verdict::Note, words(TextId::DoctorFirewallNotAsked)});
        return;
    }
    std::vector<const FirewallProfile*> problemProfiles;
    std::vector<std::string> blockingRules;
    if (!firewall.activeProfiles) {
        lines.push_back({Verdict::Unknown, words(TextId::DoctorProfilesUnknown)});
    } else {
        for (const FirewallProfile& profile : *firewall.activeProfiles) {
            const ReplyJudgement judgement = JudgeReplies(profile, firewall.programRules);
            lines.push_back(ProfileLine(profile, judgement, firewall.programRules, words));
            if (!IsProblem(judgement.verdict)) continue;
            problemProfiles.push_back(&profile);
            for (const std::string& rule : judgement.blockingRules) {
                if (std::ranges::find(blockingRules, rule) == blockingRules.end()) {
                    blockingRules.push_back(rule);
                }
            }
        }
    }
    std::vector<std::string> publicNetworks;
    if (!firewall.networks) {
        lines.push_back({Verdict::Unknown, words(TextId::DoctorNetworksUnknown)});
    } else {
        for (const platform::ConnectedNetwork& network : *firewall.networks) {
            const std::string name = NetworkName(network, words);
            if (!network.isPublic) {
                lines.push_back({Verdict::Unknown, words(TextId::DoctorNetworkUnknown, {name})});
            } else if (*network.isPublic) {
                lines.push_back({Verdict::Note, words(TextId::DoctorNetworkPublic, {name})});
                publicNetworks.push_back(name);
            } else {
                lines.push_back({Verdict::Ok, words(TextId::DoctorNetworkPrivate, {name})});
            }
        }
    }
    if (problemProfiles.empty()) return;
    std::string profiles;  // as netsh takes them
    std::string profileText;
    for (const FirewallProfile* profile : problemProfiles) {
        profiles += (profiles.empty() ? "" : ",") + profile->name;
        profileText += (profileText.empty() ? "" : words(TextId::DoctorAnd)) +
                       ProfileName(*profile, words);
    }
    lines.push_back({Verdict::Advice,
                     words(problemProfiles.size() == 1 ? TextId::DoctorRepairOneProfile
                                                       : TextId::DoctorRepairProfiles,
                           {profileText})});
    for (const std::string& command :
         FirewallRepairCommands(firewall.program, blockingRules, profiles)) {
        lines.push_back({Verdict::Advice, command});
    }
    const bool publicProblem =
        std::ranges::any_of(problemProfiles, [](const FirewallProfile* profile) {
            return profile->bit == platform::kPublicProfile;
        });
    if (publicProblem && !publicNetworks.empty()) {
        lines.push_back({Verdict::Advice,
                         words(TextId::DoctorMakePrivate, {publicNetworks.front()})});
    }
}

TextId VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Ok: return TextId::VerdictOk;
        case Verdict::Skipped: return TextId::VerdictSkipped;
        case Verdict::Note: return TextId::VerdictNote;
        case Verdict::Problem: return TextId::VerdictProblem;
        case Verdict::Unknown: return TextId::VerdictUnknown;
        case Verdict::Advice: return TextId::VerdictAdvice;
    }
    return TextId::VerdictUnknown;
}

}  // namespace

std::vector<DoctorLine> DoctorReport(const DoctorFindings& findings, Language language) {
    const Words words(language);
    Lines lines;
    AddInterfaces(findings, lines, words);
    AddSearch(findings, lines, words);
    AddFirewall(findings.firewall, lines, words);
    const std::size_t found = ControllersFound(findings);
    if (found == 0) {
        lines.push_back({Verdict::Problem, words(TextId::DoctorFoundNone)});
    } else {
        lines.push_back({Verdict::Ok, words(found == 1 ? TextId::DoctorFoundOne
                                                       : TextId::DoctorFoundMany,
                                            {std::to_string(found)})});
    }
    return lines;
}

std::string VerdictWord(Verdict verdict, Language language) {
    return std::string(Text(VerdictName(verdict), language));
}

std::string FormatDoctorLine(const DoctorLine& line, Language language) {
    // Nine columns for the verdict: an English word padded, or two Chinese characters (two
    // columns each) and five spaces.
    std::string text = VerdictWord(line.verdict, language);
    if (language == Language::English) {
        text.resize(9, ' ');
    } else {
        text += std::string(5, ' ');
    }
    return text + line.text;
}

}  // namespace lumaro
