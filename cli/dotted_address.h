#pragma once
// IPv4 addresses as a person types them on the command line.

#include <optional>
#include <string_view>

#include <CLI/CLI.hpp>

#include "platform/net/ipv4_address.h"

namespace lumaro {

// "a.b.c.d" with four decimal numbers 0-255; "" stands for a blank field (0.0.0.0).
// Nothing for anything else.
std::optional<Ipv4Address> ParseDottedAddress(std::string_view text);

// A CLI11 check for arguments that ParseDottedAddress takes.
CLI::Validator DottedAddressCheck();

}  // namespace lumaro
