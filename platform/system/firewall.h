#pragma once
// What the system says about the controllers' replies reaching this program: on Windows the
// firewall's active profiles and the inbound rules that name this program (Windows
// Firewall, INetFwPolicy2) and the category of every connected network
// (INetworkListManager). Elsewhere nothing is asked. How these decide the replies' fate is
// judged elsewhere (the doctor's firewall verdict), from these facts alone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumaro::platform {

// Windows Firewall's profiles as bits, as its rules name the profiles they apply in.
constexpr std::uint32_t kDomainProfile = 1;
constexpr std::uint32_t kPrivateProfile = 2;
constexpr std::uint32_t kPublicProfile = 4;
// Rule protocols: IANA numbers, and Windows Firewall's "any".
constexpr int kUdpProtocol = 17;
constexpr int kAnyProtocol = 256;

// Every answer is empty where the system did not give one (e.g. under Wine).
struct FirewallProfile {
    std::string name;       // "domain", "private" or "public"
    std::uint32_t bit = 0;  // kDomainProfile, kPrivateProfile or kPublicProfile
    std::optional<bool> enabled;
    std::optional<bool> inboundBlocked;  // inbound traffic blocked unless a rule allows it
    // Unicast replies to this PC's broadcasts are let in for 3 s without any rule (Windows'
    // default; a profile can switch it off).
    std::optional<bool> unicastRepliesAllowed;
};

// An inbound rule whose program is this one.
struct FirewallRule {
    std::string name;
    bool enabled = false;
    bool blocks = false;         // its action: block; otherwise allow
    std::uint32_t profiles = 0;  // the profiles it applies in, as bits
    int protocol = kAnyProtocol;
};

struct ConnectedNetwork {
    std::string name;
    std::optional<bool> isPublic;  // the "public" category: the strictest firewall profile
};

struct FirewallState {
    bool asked = false;  // false: not a system with such a firewall (not Windows)
    std::string program;  // this program's path, as the rules are compared with it (UTF-8)
    std::optional<std::vector<FirewallProfile>> activeProfiles;
    // Every inbound rule for this program, enabled or not; empty when the rules were unread.
    std::optional<std::vector<FirewallRule>> programRules;
    std::optional<std::vector<ConnectedNetwork>> networks;
};

FirewallState ReadFirewallState();

}  // namespace lumaro::platform
