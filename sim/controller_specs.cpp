// Controller specs made by rule: the default MAC of a serial and a run of consecutive
// controllers. Portable: the Windows-side tests describe their LANs with them too.

#include "sim/simulator.h"

namespace lumaro::sim {

std::array<std::uint8_t, 6> Simulator::DefaultMac(std::uint32_t serial) {
    return {0x02, 0x4C, static_cast<std::uint8_t>(serial >> 24), static_cast<std::uint8_t>(serial >> 16),
            static_cast<std::uint8_t>(serial >> 8), static_cast<std::uint8_t>(serial)};
}

std::vector<ControllerSpec> Simulator::Sequential(std::size_t count, std::uint32_t firstSerial,
                                                  Ipv4Address firstAddress, Ipv4Address mask,
                                                  std::size_t segment) {
    std::vector<ControllerSpec> specs;
    for (std::size_t i = 0; i < count; ++i) {
        ControllerSpec spec;
        spec.serial = firstSerial + static_cast<std::uint32_t>(i);
        spec.mac = DefaultMac(spec.serial);
        spec.ip = FromNumberOrder(InNumberOrder(firstAddress) + static_cast<std::uint32_t>(i));
        spec.mask = mask;
        spec.segment = segment;
        specs.push_back(spec);
    }
    return specs;
}

}  // namespace lumaro::sim
