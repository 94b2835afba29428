#include "platform/system/firewall.h"

namespace lumaro::platform {

// Linux's packet filters (nftables, iptables) are not read: their rules do not name programs.
FirewallState ReadFirewallState() { return FirewallState{}; }

}  // namespace lumaro::platform
