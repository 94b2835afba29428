#include "cli/dotted_address.h"

#include <string>

namespace lumaro {

std::optional<Ipv4Address> ParseDottedAddress(std::string_view text) {
    if (text.empty()) return Ipv4Address{0};
    std::uint8_t octets[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        unsigned value = 0;
        std::size_t digits = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
            value = value * 10 + static_cast<unsigned>(text[digits] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
        octets[i] = static_cast<std::uint8_t>(value);
        text.remove_prefix(digits);
    }
    if (!text.empty()) return std::nullopt;
    return MakeIpv4(octets[0], octets[1], octets[2], octets[3]);
}

CLI::Validator DottedAddressCheck() {
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            if (ParseDottedAddress(text)) return {};
            return "'" + text + "' is not an IPv4 address such as 10.0.1.50";
        },
        "A.B.C.D");
}

}  // namespace lumaro
