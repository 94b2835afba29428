#pragma once
// The one rule for which of the PC's IPv4 addresses get an interface socket, followed by
// the search when it opens its sockets and by the doctor when it explains them.

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "platform/local_addresses.h"

namespace lumaro {

// At most this many interface sockets are open at once.
constexpr std::size_t kMaxInterfaceSockets = 16;

// What the search makes of one row of the PC's address table.
enum class InterfaceUse {
    Used,         // it gets an interface socket
    Duplicate,    // used, but an earlier row has the same address: commands use that one
    NoAddress,    // 0.0.0.0
    Loopback,     // exactly 127.0.0.1
    BeyondLimit,  // 16 interfaces are in use already
    NoSocket,     // its socket cannot be opened
};

// Walks the table in order: 0.0.0.0 and 127.0.0.1 get no socket; every other row gets one
// while fewer than kMaxInterfaceSockets are open, if `open` (which opens it) says it could,
// and is left out otherwise, taking no place. Gives each row's use, in table order.
std::vector<InterfaceUse> ChooseInterfaces(
    std::span<const platform::LocalAddress> table,
    const std::function<bool(const platform::LocalAddress& row)>& open);

}  // namespace lumaro
