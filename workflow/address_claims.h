#pragma once
// Addresses held for controllers while several one-click procedures run side by side. A
// procedure that finds a free address moves its controller there only after a few seconds
// (the writes, the pause, ARP at the new address), and a controller that restarts may not
// answer ARP for a while: in that time another procedure's ARP would find the same address
// free. So a procedure claims each candidate before it asks ARP about it, and passes over
// candidates that another controller holds. Its holder gives an address back only when
// somebody answers ARP there; an address found free stays with the controller that claimed
// it, whether its run succeeded or failed (it may be sitting there, silent), and is never
// handed on to another.

#include <cstdint>
#include <map>
#include <mutex>

#include "platform/net/ipv4_address.h"

namespace lumaro {

class AddressClaims {
public:
    // Holds `address` for the controller `serial` unless another controller holds it:
    // true when `serial` holds it now (it may have held it before).
    bool Claim(Ipv4Address address, std::uint32_t serial);
    // Gives `address` back when `serial` holds it: someone answers ARP there, so it was
    // never free. An address held by another controller stays held.
    void Release(Ipv4Address address, std::uint32_t serial);
private:
    std::mutex mutex_;
    std::map<Ipv4Address, std::uint32_t> holders_;  // guarded by mutex_
};

}  // namespace lumaro
