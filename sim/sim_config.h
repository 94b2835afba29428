#pragma once
// The text forms in which people describe simulated controllers: the lines of a
// controller file, behaviour words and the --generate shorthand.
//
// Controller line (key=value words; `#` starts a comment; only serial is required):
//   serial=100 ip=10.0.1.100 mask=255.255.255.0 gateway=10.0.1.254 mac=00-1A-2B-00-00-64
//   variant=1 web=80 segment=0 dhcp=10.0.1.77/255.255.255.0/10.0.1.254 behaviour=silent
// Defaults: mask 255.255.255.0, gateway 0.0.0.0, mac derived from the serial, variant 1,
// web 80, segment 0, fixed addressing, normal behaviour.
// Behaviour: words joined by '+': normal | silent | closed | wrong-sequence | search-only |
//   web-refuses | web-after-restart | keeps-address | loses-writes | lengths:3,20 |
//   delay:300 (milliseconds),
//   e.g. "delay:300+wrong-sequence".
// Generate: COUNT:FIRSTSERIAL:FIRSTIP/PREFIX[:SEGMENT], e.g. 300:1000:10.1.1.1/16.
// Spray: SEED[:PER_SECOND], e.g. 7 or 7:500 (datagrams per second, default 200).

#include <charconv>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulator.h"

namespace lumaro::sim {

template <class T>
struct Parsed {
    std::optional<T> value;
    std::string error;  // quotes the bad text when value is empty
};

// The whole of `text` as a number in `base`; nothing when it is empty or anything is left over.
template <class T>
std::optional<T> ParseNumber(std::string_view text, int base = 10) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

Parsed<Ipv4Address> ParseIpv4(std::string_view text);
// "02:4c:00:00:00:64" or "02-4C-00-00-00-64".
Parsed<std::array<std::uint8_t, 6>> ParseMac(std::string_view text);

// "SEG:ADDRESS=MAC,..." as scripts/lab.sh gives it (LUMARO_PC_HOSTS); empty text: none.
Parsed<std::vector<PcHost>> ParsePcHosts(std::string_view text);
Parsed<Behaviour> ParseBehaviour(std::string_view text);
// Bytes as lower-case hexadecimal digits, two per byte, and back (the frame log and the
// control commands carry bytes so).
std::string HexText(std::span<const std::uint8_t> bytes);
Parsed<std::vector<std::uint8_t>> ParseHexText(std::string_view text);

// The inverse forms: the behaviour words, and a controller line that reads back as the
// same controller.
std::string BehaviourText(const Behaviour& behaviour);
std::string ControllerLine(const ControllerSpec& spec);

// A line without any controller (blank or comment only) gives an empty value and no error.
Parsed<ControllerSpec> ParseControllerLine(std::string_view line);
Parsed<std::vector<ControllerSpec>> ParseControllerFile(std::string_view text);
Parsed<std::vector<ControllerSpec>> ReadControllerFile(const std::string& path);
Parsed<std::vector<ControllerSpec>> ParseGenerate(std::string_view text);
Parsed<SprayOptions> ParseSpray(std::string_view text);

}  // namespace lumaro::sim
