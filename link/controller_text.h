#pragma once
// The texts that the controller list shows for a record.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/controller_record.h"

namespace lumaro {

std::string FormatAddress(Ipv4Address address);             // "%d.%d.%d.%d", first octet first
// The reverse: "a.b.c.d", four decimal numbers 0-255 of one to three digits each; nothing
// for anything else.
std::optional<Ipv4Address> ParseAddress(std::string_view text);
std::string FormatMac(const std::array<std::uint8_t, 6>& mac);  // "%02X-%02X-...", stored order
std::string FormatSerial(std::uint32_t serial);              // "%u"
bool WebServerEnabled(std::uint32_t webPort);                // off for ports 0 and 65535

constexpr int kListColumnCount = 7;

// Columns 0-5 as text; column 6 is one of the two web-state texts given by the caller.
std::array<std::string, kListColumnCount> ListRowTexts(const ControllerRecord& record,
                                                       const std::string& webOnText,
                                                       const std::string& webOffText);

}  // namespace lumaro
