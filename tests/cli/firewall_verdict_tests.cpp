// How the doctor judges Windows Firewall's treatment of the controllers' replies in one
// profile, from the facts the platform read: a block rule for this program wins over every
// allow rule; without any rule the replies to the program's broadcasts are let in, unless the
// profile switches that off; and the commands that repair it.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "workflow/firewall_verdict.h"

namespace lumaro {
namespace {

using platform::FirewallProfile;
using platform::FirewallRule;
using platform::kAnyProtocol;
using platform::kPrivateProfile;
using platform::kPublicProfile;
using platform::kUdpProtocol;
using Rules = std::optional<std::vector<FirewallRule>>;

constexpr int kTcpProtocol = 6;
constexpr std::uint32_t kAllProfiles = 7;

// The public profile as Windows sets it up: on, inbound blocked unless allowed, unicast
// replies to broadcasts let in.
FirewallProfile Public(std::optional<bool> repliesAllowed = true,
                       std::optional<bool> inboundBlocked = true,
                       std::optional<bool> enabled = true) {
    return {"public", kPublicProfile, enabled, inboundBlocked, repliesAllowed};
}

FirewallRule Rule(const char* name, bool blocks, std::uint32_t profiles = kPublicProfile,
                  int protocol = kUdpProtocol, bool enabled = true) {
    return {name, enabled, blocks, profiles, protocol};
}

const char* Name(ReplyVerdict verdict) {
    switch (verdict) {
        case ReplyVerdict::FirewallOff: return "firewall off";
        case ReplyVerdict::BlockedByRule: return "blocked by a rule";
        case ReplyVerdict::InboundAllowed: return "inbound allowed";
        case ReplyVerdict::AllowedByRule: return "allowed by a rule";
        case ReplyVerdict::LetInAsReplies: return "let in as replies";
        case ReplyVerdict::RepliesDropped: return "replies dropped";
        case ReplyVerdict::Unknown: return "unknown";
    }
    return "?";
}

TEST(FirewallVerdict, ABlockRuleWinsAndOnlyASwitchedOffReplyAllowanceNeedsARule) {
    // The rules that pressing Cancel at the first-run prompt leaves: block TCP and UDP.
    const std::vector<FirewallRule> cancelled{
        Rule("lumaro-cli.exe", true, kPublicProfile, kTcpProtocol), Rule("lumaro-cli.exe", true)};
    struct Case {
        const char* what;
        FirewallProfile profile;
        Rules rules;
        ReplyVerdict verdict;
        std::vector<std::string> blocking;
    };
    const Case cases[] = {
        {"no rule: the replies are let in for 3 s", Public(), std::vector<FirewallRule>{},
         ReplyVerdict::LetInAsReplies, {}},
        {"allowance off and no rule", Public(false), std::vector<FirewallRule>{},
         ReplyVerdict::RepliesDropped, {}},
        {"allowance off, an allow rule", Public(false),
         std::vector<FirewallRule>{Rule("allow", false)}, ReplyVerdict::AllowedByRule, {}},
        {"allowance off, inbound allowed by default", Public(false, false),
         std::vector<FirewallRule>{}, ReplyVerdict::InboundAllowed, {}},
        {"Cancel at the prompt: block rules for TCP and UDP", Public(), cancelled,
         ReplyVerdict::BlockedByRule, {"lumaro-cli.exe"}},
        {"a block rule wins over an allow rule", Public(),
         std::vector<FirewallRule>{Rule("allow", false, kAllProfiles), Rule("block", true)},
         ReplyVerdict::BlockedByRule, {"block"}},
        {"a block rule wins even where inbound is allowed", Public(true, false),
         std::vector<FirewallRule>{Rule("block", true, kAllProfiles, kAnyProtocol)},
         ReplyVerdict::BlockedByRule, {"block"}},
        {"two block rules, each named once", Public(),
         std::vector<FirewallRule>{Rule("one", true), Rule("two", true, kAllProfiles),
                                   Rule("one", true, kAllProfiles, kAnyProtocol)},
         ReplyVerdict::BlockedByRule, {"one", "two"}},
        {"a disabled block rule", Public(),
         std::vector<FirewallRule>{Rule("b", true, kPublicProfile, kUdpProtocol, false)},
         ReplyVerdict::LetInAsReplies, {}},
        {"a block rule of another profile", Public(),
         std::vector<FirewallRule>{Rule("b", true, kPrivateProfile)}, ReplyVerdict::LetInAsReplies,
         {}},
        {"a block rule for TCP only", Public(false),
         std::vector<FirewallRule>{Rule("b", true, kPublicProfile, kTcpProtocol)},
         ReplyVerdict::RepliesDropped, {}},
        {"an allow rule for TCP only does not allow the replies", Public(false),
         std::vector<FirewallRule>{Rule("a", false, kPublicProfile, kTcpProtocol)},
         ReplyVerdict::RepliesDropped, {}},
        {"the firewall off, whatever the rules", Public(false, true, false), cancelled,
         ReplyVerdict::FirewallOff, {}},
        {"rules unread", Public(), std::nullopt, ReplyVerdict::Unknown, {}},
        {"Wine: nothing answered", Public(std::nullopt, std::nullopt, std::nullopt),
         std::vector<FirewallRule>{}, ReplyVerdict::Unknown, {}},
        {"allowance unknown, no rule", Public(std::nullopt), std::vector<FirewallRule>{},
         ReplyVerdict::Unknown, {}},
        {"allowance unknown, a block rule", Public(std::nullopt), cancelled,
         ReplyVerdict::BlockedByRule, {"lumaro-cli.exe"}},
    };
    for (const Case& c : cases) {
        const ReplyJudgement judgement = JudgeReplies(c.profile, c.rules);
        EXPECT_STREQ(Name(judgement.verdict), Name(c.verdict)) << c.what;
        EXPECT_EQ(judgement.blockingRules, c.blocking) << c.what;
    }
}

TEST(FirewallVerdict, TheRepairDeletesEachBlockingRuleAndAllowsUdpFromTheLocalSubnet) {
    const std::string program = "C:\\Program Files\\Lumaro\\lumaro-cli.exe";
    EXPECT_EQ(FirewallRepairCommands(program, {"lumaro-cli.exe", "old rule"}, "private,public"),
              (std::vector<std::string>{
                  "netsh advfirewall firewall delete rule name=\"lumaro-cli.exe\" dir=in "
                  "program=\"C:\\Program Files\\Lumaro\\lumaro-cli.exe\"",
                  "netsh advfirewall firewall delete rule name=\"old rule\" dir=in "
                  "program=\"C:\\Program Files\\Lumaro\\lumaro-cli.exe\"",
                  "netsh advfirewall firewall add rule name=\"Lumaro: controllers' replies (UDP, "
                  "local subnet)\" dir=in program=\"C:\\Program Files\\Lumaro\\lumaro-cli.exe\" "
                  "action=allow protocol=UDP remoteip=LocalSubnet profile=private,public",
              }));
    EXPECT_EQ(FirewallRepairCommands(program, {}, "public").size(), 1u)
        << "with the allowance off, only the allow rule";
}

}  // namespace
}  // namespace lumaro
