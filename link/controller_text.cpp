#include "link/controller_text.h"

#include <cstdio>

namespace lumaro {

std::string FormatAddress(Ipv4Address address) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", Octet(address, 0), Octet(address, 1),
                  Octet(address, 2), Octet(address, 3));
    return text;
}

std::optional<Ipv4Address> ParseAddress(std::string_view text) {
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

std::string FormatMac(const std::array<std::uint8_t, 6>& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string FormatSerial(std::uint32_t serial) {
    char text[11];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(serial));
    return text;
}

bool WebServerEnabled(std::uint32_t webPort) { return webPort != 0 && webPort != 65535; }

std::array<std::string, kListColumnCount> ListRowTexts(const ControllerRecord& record,
                                                       const std::string& webOnText,
                                                       const std::string& webOffText) {
    return {FormatSerial(record.serial),       FormatAddress(record.ip),
            FormatAddress(record.mask),        FormatAddress(record.gateway),
            FormatMac(record.mac),             FormatAddress(record.hostAddress),
            WebServerEnabled(record.webPort) ? webOnText : webOffText};
}

}  // namespace lumaro
