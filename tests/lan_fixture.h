#pragma once
// Shared pieces of the tests that run on a test LAN: simulated controllers and a link
// in the PC's namespace.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "link/search.h"
#include "sim/simulator.h"

namespace lumaro::testing {

constexpr Ipv4Address kPcAddress = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kPcMask = MakeIpv4(255, 255, 255, 0);

// A controller in the PC's subnet (10.0.1.0/24) with a MAC derived from its serial.
inline sim::ControllerSpec Controller(std::uint32_t serial, Ipv4Address ip,
                                      std::size_t segment = 0) {
    sim::ControllerSpec spec;
    spec.serial = serial;
    spec.mac = {0x02, 0x4C, static_cast<std::uint8_t>(serial >> 24),
                static_cast<std::uint8_t>(serial >> 16), static_cast<std::uint8_t>(serial >> 8),
                static_cast<std::uint8_t>(serial)};
    spec.ip = ip;
    spec.mask = MakeIpv4(255, 255, 255, 0);
    spec.gateway = MakeIpv4(Octet(ip, 0), Octet(ip, 1), Octet(ip, 2), 254);
    spec.segment = segment;
    return spec;
}

// Starts the simulator on the lab's segments, spraying when asked; the test fails at once
// when it cannot. The PC's neighbour table is emptied first: an earlier test may have left
// the MAC of another controller at the same address.
inline std::unique_ptr<sim::Simulator> StartControllers(
    std::vector<sim::ControllerSpec> specs, std::optional<sim::SprayOptions> spray = std::nullopt) {
    if (std::system("ip neigh flush all >/dev/null 2>&1") != 0) {
        ADD_FAILURE() << "cannot empty the neighbour table of the PC's namespace";
    }
    auto options = sim::Simulator::OptionsFromLab();
    if (!options) {
        ADD_FAILURE() << "not inside a test LAN: run through scripts/lab.sh";
        return nullptr;
    }
    options->spray = spray;
    std::string error;
    auto simulator = sim::Simulator::Start(*options, std::move(specs), &error);
    if (!simulator) ADD_FAILURE() << "simulator did not start: " << error;
    return simulator;
}

inline std::vector<std::uint32_t> Serials(const ControllerTable& table) {
    std::vector<std::uint32_t> serials;
    for (const ControllerRecord& record : table.Found()) serials.push_back(record.serial);
    return serials;
}

inline const ControllerRecord* FindRecord(const ControllerTable& table, std::uint32_t serial) {
    for (const ControllerRecord& record : table.Found()) {
        if (record.serial == serial) return &record;
    }
    return nullptr;
}

}  // namespace lumaro::testing
