#include "app/address_field.h"

#include <windows.h>
#include <commctrl.h>

namespace lumaro {

DWORD ToFieldAddress(Ipv4Address address) {
    return MAKEIPADDRESS(Octet(address, 0), Octet(address, 1), Octet(address, 2),
                         Octet(address, 3));
}

Ipv4Address FromFieldAddress(DWORD fieldAddress) {
    return MakeIpv4(static_cast<std::uint8_t>(FIRST_IPADDRESS(fieldAddress)),
                    static_cast<std::uint8_t>(SECOND_IPADDRESS(fieldAddress)),
                    static_cast<std::uint8_t>(THIRD_IPADDRESS(fieldAddress)),
                    static_cast<std::uint8_t>(FOURTH_IPADDRESS(fieldAddress)));
}

void AddressField::Clear() const { SendMessageW(control_, IPM_CLEARADDRESS, 0, 0); }

void AddressField::Show(Ipv4Address address) const {
    SendMessageW(control_, IPM_SETADDRESS, 0, static_cast<LPARAM>(ToFieldAddress(address)));
}

Ipv4Address AddressField::Read() const {
    DWORD fieldAddress = 0;
    SendMessageW(control_, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&fieldAddress));
    return FromFieldAddress(fieldAddress);
}

}  // namespace lumaro
