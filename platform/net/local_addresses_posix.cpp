#include <ifaddrs.h>
#include <netinet/in.h>

#include <memory>

#include "platform/net/local_addresses.h"

namespace lumaro::platform {

std::optional<std::vector<LocalAddress>> ReadLocalAddressTable() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, freeifaddrs);

    std::vector<LocalAddress> table;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        LocalAddress row;
        // s_addr is in network order, so its lowest byte in memory is the first octet.
        row.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
        if (entry->ifa_netmask != nullptr) {
            row.mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
        }
        table.push_back(row);
    }
    return table;
}

}  // namespace lumaro::platform
