#include "workflow/address_claims.h"

namespace lumaro {

bool AddressClaims::Claim(Ipv4Address address, std::uint32_t serial) {
    const std::lock_guard lock(mutex_);
    return holders_.try_emplace(address, serial).first->second == serial;
}

void AddressClaims::Release(Ipv4Address address, std::uint32_t serial) {
    const std::lock_guard lock(mutex_);
    const auto held = holders_.find(address);
    if (held != holders_.end() && held->second == serial) holders_.erase(held);
}

}  // namespace lumaro
