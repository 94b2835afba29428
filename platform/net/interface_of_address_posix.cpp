#include "platform/net/interface_of_address_posix.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace lumaro::platform {

std::optional<LocalInterface> InterfaceOfAddress(Ipv4Address address) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, freeifaddrs);

    const char* name = nullptr;
    LocalInterface found;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr == address) {
            name = entry->ifa_name;
            found.running = (entry->ifa_flags & (IFF_UP | IFF_RUNNING)) == (IFF_UP | IFF_RUNNING);
            break;
        }
    }
    if (name == nullptr) return std::nullopt;

    found.index = static_cast<int>(if_nametoindex(name));
    if (found.index == 0) return std::nullopt;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET ||
            std::strcmp(entry->ifa_name, name) != 0) {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        if (link->sll_halen == found.hardwareAddress.size()) {
            std::copy_n(link->sll_addr, found.hardwareAddress.size(),
                        found.hardwareAddress.begin());
        }
    }
    return found;
}

}  // namespace lumaro::platform
