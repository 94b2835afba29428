#pragma once
// Shared pieces of the tests that run on a test LAN: simulated controllers and a link
// in the PC's namespace. The same tests run natively and, built for Windows, under Wine.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "link/search.h"
#include "sim/simulator.h"
#include "tests/command_reply_printer.h"

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

// The simulated controllers as the wire tests see them. Natively the simulator runs inside
// the test process (tests/lan_fixture_in_process.cpp); the same tests built for Windows
// run under Wine beside lumaro-sim and reach it through its control directory and frame
// log (tests/windows/lan_fixture_beside_wine.cpp).
class TestLan {
public:
    virtual ~TestLan() = default;
    // Every frame received so far, in arrival order, one entry per receiving controller.
    // It is read once the controllers have handled every frame that reached them: a busy
    // machine may keep the simulator from its queue for a while after the PC sent.
    virtual std::vector<sim::ReceivedFrame> Log() const = 0;
    virtual std::vector<sim::ReceivedFrame> LogOf(std::uint32_t serial) const = 0;
    virtual void ClearLog() = 0;
    virtual sim::ParameterImage Image(std::uint32_t serial) const = 0;
    // The addresses and web port the controller uses now.
    virtual sim::ControllerSpec Current(std::uint32_t serial) const = 0;
    virtual std::optional<std::array<std::uint8_t, 8>> LastClockPayload(std::uint32_t serial) const = 0;
    virtual std::size_t RestartCount(std::uint32_t serial) const = 0;
    // How many answers to frames the controllers have sent since they started: a test
    // waits for this, not for a while.
    virtual std::size_t AnswersSent() const = 0;
    // Returns once the controllers have handled every frame that reached them.
    virtual void WaitUntilIdle() const = 0;
    virtual void SetBehaviour(std::uint32_t serial, const sim::Behaviour& behaviour) = 0;
    // The controller sends these bytes from its port 60000.
    virtual void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                          const std::vector<std::uint8_t>& bytes) = 0;
};

// Starts the controllers on the lab's segments (replacing any started before); the test
// fails at once, and nullptr comes back, when it cannot.
std::unique_ptr<TestLan> StartControllers(std::vector<sim::ControllerSpec> specs);

#ifndef _WIN32
// The simulator itself in the test process, for native tests that need more of it than
// TestLan offers (a spray, every image at once, the replies it sent), spraying when asked.
std::unique_ptr<sim::Simulator> StartSimulator(
    std::vector<sim::ControllerSpec> specs, std::optional<sim::SprayOptions> spray = std::nullopt);
#endif

// The text of a file of the PC's namespace, such as /proc/net/snmp (empty when unreadable).
std::string ReadPcFile(const std::string& unixPath);

// A counter of the PC's network stack from /proc/net/snmp, e.g. ("Udp", "RcvbufErrors")
// or ("Icmp", "InDestUnreachs"); nothing when it cannot be read.
inline std::optional<std::uint64_t> PcNetworkCounter(const std::string& protocol,
                                                     const std::string& field) {
    // Two lines per protocol: "Udp: Name Name ..." then "Udp: value value ...".
    std::istringstream text(ReadPcFile("/proc/net/snmp"));
    std::string names, values;
    while (std::getline(text, names) && std::getline(text, values)) {
        if (!names.starts_with(protocol + ":")) continue;
        std::istringstream nameWords(names), valueWords(values);
        for (std::string name, value; nameWords >> name && valueWords >> value;) {
            if (name == field) return std::stoull(value);
        }
    }
    return std::nullopt;
}

// Wine binds a datagram socket to any address (0.0.0.0 on the interface of the address,
// when there is one), so under Wine an address the PC does not have binds too.
bool RunningUnderWine();

// A count from the environment variable `name` when it holds a positive number (such as
// LUMARO_SCALE_SEARCHES), else `fallback`.
inline int CountFromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : fallback;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
