#pragma once
// What the system says about the controllers' replies reaching this program: on Windows the
// firewall's active profiles (Windows Firewall, INetFwPolicy2) and the category of every
// connected network (INetworkListManager). Elsewhere nothing is asked.

#include <optional>
#include <string>
#include <vector>

namespace lumaro::platform {

// Every answer is empty where the system did not give one (e.g. under Wine).
struct FirewallProfile {
    std::string name;                    // "domain", "private" or "public"
    std::optional<bool> enabled;
    std::optional<bool> inboundBlocked;  // inbound traffic blocked unless a rule allows it
    // An enabled inbound rule allows this program (UDP or any protocol) in this profile.
    std::optional<bool> programAllowed;
};

struct ConnectedNetwork {
    std::string name;
    std::optional<bool> isPublic;  // the "public" category: the strictest firewall profile
};

struct FirewallState {
    bool asked = false;  // false: not a system with such a firewall (not Windows)
    std::string program;  // this program's path, as the rules are compared with it (UTF-8)
    std::optional<std::vector<FirewallProfile>> activeProfiles;
    std::optional<std::vector<ConnectedNetwork>> networks;
};

FirewallState ReadFirewallState();

}  // namespace lumaro::platform
