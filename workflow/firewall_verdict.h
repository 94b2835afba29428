#pragma once
// How Windows Firewall treats the controllers' replies to this program (UDP from port
// 60000 to the port it sent from) in one profile, judged from the facts that the platform
// read. Windows lets such replies in without any rule: unicast replies to a broadcast that
// this PC sent are let in for 3 s, unless the profile switches that off. So a missing allow
// rule is no problem; an enabled inbound block rule for this program is, as a block rule wins
// over every allow rule (a technician who pressed Cancel at the firewall's first-run prompt
// has two such rules, for TCP and UDP).

#include <string>
#include <vector>

#include "platform/firewall.h"

namespace lumaro {

enum class ReplyVerdict {
    FirewallOff,      // ok
    BlockedByRule,    // problem: an enabled inbound block rule for this program
    InboundAllowed,   // ok: the profile lets unasked inbound traffic in
    AllowedByRule,    // ok: an enabled inbound allow rule for this program
    LetInAsReplies,   // ok: unicast replies to its broadcasts, for 3 s, without a rule
    RepliesDropped,   // problem: the profile does not let such replies in, and no rule does
    Unknown,          // the system did not say enough
};

struct ReplyJudgement {
    ReplyVerdict verdict = ReplyVerdict::Unknown;
    std::vector<std::string> blockingRules;  // their names, each once, for BlockedByRule
};

// The verdict for `profile` under this program's inbound rules (empty: unread).
ReplyJudgement JudgeReplies(const platform::FirewallProfile& profile,
                            const std::optional<std::vector<platform::FirewallRule>>& rules);

bool IsProblem(ReplyVerdict verdict);

// What a technician runs as administrator to let the replies in: one command that deletes
// each blocking rule (by its name, inbound, for this program), then one that allows this
// program UDP from the local subnet in the given profiles ("public", "private,public").
std::vector<std::string> FirewallRepairCommands(const std::string& program,
                                                const std::vector<std::string>& blockingRules,
                                                const std::string& profiles);

}  // namespace lumaro
