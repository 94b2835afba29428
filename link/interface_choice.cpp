#include "link/interface_choice.h"

#include <algorithm>

namespace lumaro {

std::vector<InterfaceUse> ChooseInterfaces(
    std::span<const platform::LocalAddress> table,
    const std::function<bool(const platform::LocalAddress& row)>& open) {
    std::vector<InterfaceUse> uses;
    std::vector<Ipv4Address> opened;
    for (const platform::LocalAddress& row : table) {
        if (row.address == 0) {
            uses.push_back(InterfaceUse::NoAddress);
        } else if (row.address == kLoopbackHost) {
            uses.push_back(InterfaceUse::Loopback);
        } else if (opened.size() == kMaxInterfaceSockets) {
            uses.push_back(InterfaceUse::BeyondLimit);
        } else if (!open(row)) {
            uses.push_back(InterfaceUse::NoSocket);
        } else {
            uses.push_back(std::ranges::find(opened, row.address) != opened.end()
                               ? InterfaceUse::Duplicate
                               : InterfaceUse::Used);
            opened.push_back(row.address);
        }
    }
    return uses;
}

}  // namespace lumaro
