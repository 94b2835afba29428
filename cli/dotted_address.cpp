#include "cli/dotted_address.h"

#include <string>

#include "link/controller_text.h"

namespace lumaro {

std::optional<Ipv4Address> ParseDottedAddress(std::string_view text) {
    if (text.empty()) return Ipv4Address{0};
    return ParseAddress(text);
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
