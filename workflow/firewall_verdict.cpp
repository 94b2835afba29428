#include "workflow/firewall_verdict.h"

#include <algorithm>

namespace lumaro {

namespace {

using platform::FirewallRule;

// The name that the allow rule of the repair gets.
constexpr char kAllowRuleName[] = "Lumaro: controllers' replies (UDP, local subnet)";

// The rule applies to the replies in this profile.
bool Applies(const FirewallRule& rule, std::uint32_t profileBit) {
    return rule.enabled && (rule.profiles & profileBit) != 0 &&
           (rule.protocol == platform::kUdpProtocol || rule.protocol == platform::kAnyProtocol);
}

}  // namespace

ReplyJudgement JudgeReplies(const platform::FirewallProfile& profile,
                            const std::optional<std::vector<FirewallRule>>& rules) {
    if (profile.enabled == false) return {ReplyVerdict::FirewallOff, {}};
    if (!profile.enabled || !rules) return {ReplyVerdict::Unknown, {}};
    ReplyJudgement judgement;
    bool allowed = false;
    for (const FirewallRule& rule : *rules) {
        if (!Applies(rule, profile.bit)) continue;
        if (!rule.blocks) {
            allowed = true;
        } else if (std::ranges::find(judgement.blockingRules, rule.name) ==
                   judgement.blockingRules.end()) {
            judgement.blockingRules.push_back(rule.name);
        }
    }
    if (!judgement.blockingRules.empty()) {
        judgement.verdict = ReplyVerdict::BlockedByRule;  // whatever allows them otherwise
    } else if (profile.inboundBlocked == false) {
        judgement.verdict = ReplyVerdict::InboundAllowed;
    } else if (allowed) {
        judgement.verdict = ReplyVerdict::AllowedByRule;
    } else if (profile.unicastRepliesAllowed == true) {
        judgement.verdict = ReplyVerdict::LetInAsReplies;
    } else if (profile.unicastRepliesAllowed == false && profile.inboundBlocked == true) {
        judgement.verdict = ReplyVerdict::RepliesDropped;
    }
    return judgement;
}

bool IsProblem(ReplyVerdict verdict) {
    return verdict == ReplyVerdict::BlockedByRule || verdict == ReplyVerdict::RepliesDropped;
}

std::vector<std::string> FirewallRepairCommands(const std::string& program,
                                                const std::vector<std::string>& blockingRules,
                                                const std::string& profiles) {
    const std::string forProgram = " dir=in program=\"" + program + "\"";
    std::vector<std::string> commands;
    for (const std::string& rule : blockingRules) {
        commands.push_back("netsh advfirewall firewall delete rule name=\"" + rule + "\"" +
                           forProgram);
    }
    commands.push_back(std::string("netsh advfirewall firewall add rule name=\"") +
                       kAllowRuleName + "\"" + forProgram +
                       " action=allow protocol=UDP remoteip=LocalSubnet profile=" + profiles);
    return commands;
}

}  // namespace lumaro
