#pragma once
// An IPv4 address control of the dialog. The control packs an address with the first octet
// in the most significant byte, the reverse of the link's packing (first octet lowest), so
// every transfer reverses the four bytes.

#include <windows.h>

#include "platform/net/ipv4_address.h"

namespace lumaro {

DWORD ToFieldAddress(Ipv4Address address);
Ipv4Address FromFieldAddress(DWORD fieldAddress);

class AddressField {
public:
    AddressField() = default;
    explicit AddressField(HWND control) : control_(control) {}

    void Clear() const;
    void Show(Ipv4Address address) const;
    Ipv4Address Read() const;  // a blank field reads as 0.0.0.0

private:
    HWND control_ = nullptr;
};

}  // namespace lumaro
