#pragma once
// A LAN of simulated controllers for tests and demos. Each controller has its own
// interface (own MAC and IPv4 address) on one of the simulator's segment interfaces,
// answers the controller protocol on UDP 60000, answers ARP for its present address and,
// while its web port is nonzero, serves a small page on TCP port 80 (while it is 0,
// port 80 is silent: no answer at all, not a refusal; or refuses, when its behaviour says
// so).
//
// All sockets and interfaces live in the network namespace given in the options; the
// simulator's own service thread enters it, so the calling process may live elsewhere
// (the tests run in the PC's namespace).

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ipv4_address.h"
#include "sim/spray.h"

namespace lumaro::sim {

constexpr std::size_t kImageBytes = 1024;             // frame bytes 20..1043
using ParameterImage = std::array<std::uint8_t, kImageBytes>;
constexpr std::size_t kImageFrameOffset = 20;         // image[i] is frame byte 20 + i
constexpr std::size_t kNetworkReplyBytes = 512;       // length of a full network reply
constexpr std::size_t kAcknowledgeBytes = 64;         // length of the answer to other commands

// Ways in which a controller can misbehave; switchable at run time.
// One address of the PC on a segment of the test LAN, with the MAC of its interface.
struct PcHost {
    std::size_t segment = 0;
    Ipv4Address address = 0;
    std::array<std::uint8_t, 6> mac{};
};

struct Behaviour {
    bool neverAnswers = false;   // receives and logs, answers nothing
    bool wrongSequence = false;  // answers with the request's sequence plus one
    // Port 60000 closed: nothing listens there, so the controller's host answers every
    // datagram with an ICMP "port unreachable".
    bool portClosed = false;
    // Answers the discovery broadcast only: listed by a search, then deaf to every frame
    // addressed to its serial (logged, not acted on, not answered).
    bool answersOnlySearch = false;
    // Each entry sends one answer cut, or padded with zero bytes, to that many bytes
    // (0 = the full answer), in order. Empty: one full answer.
    std::vector<std::size_t> replyLengths;
    std::chrono::milliseconds replyDelay{0};  // every answer leaves this much later
    // While the web server is off, port 80 refuses connections (a reset) instead of
    // staying silent.
    bool webRefuses = false;
    // A new web port takes effect only when the controller restarts, not when it is written.
    bool webAfterRestart = false;
    // The controller acknowledges a new address but keeps its old one (bytes 20-33).
    bool keepsAddress = false;
    // Every settings write and restart is lost on its way (logged, not acted on, not
    // answered); searches, reads, probes and clock writes are answered as usual.
    bool losesWrites = false;
    // Its network replies report this address (bytes 136-139) instead of the one it
    // answers from, as an unconfigured controller reporting 0.0.0.0 does. (No behaviour
    // word: set in-process only.)
    std::optional<Ipv4Address> reportsAddress;
};

struct ControllerSpec {
    std::uint32_t serial = 0;
    std::array<std::uint8_t, 6> mac{};  // unicast, distinct per controller
    std::uint8_t variantCode = 1;
    Ipv4Address ip = 0;                 // fixed addressing: bytes 20-31 of the image
    Ipv4Address mask = 0;
    Ipv4Address gateway = 0;
    std::uint16_t webPort = 80;
    // DHCP addressing: the marker 0xA5 at byte 150 and these addresses at bytes
    // 404-415; the controller then uses dhcpIp/dhcpMask on the wire.
    bool dhcp = false;
    Ipv4Address dhcpIp = 0;
    Ipv4Address dhcpMask = 0;
    Ipv4Address dhcpGateway = 0;
    std::size_t segment = 0;            // index into Options::segmentInterfaces
    Behaviour behaviour;
};

// One frame as a controller received it.
struct ReceivedFrame {
    std::uint32_t controllerSerial = 0;  // the controller that received it
    Ipv4Address source = 0;              // sender's address and port
    std::uint16_t sourcePort = 0;
    bool broadcast = false;              // sent to 255.255.255.255 (not unicast)
    Ipv4Address destination = 0;         // as addressed in the datagram's IP header
    bool checksumValid = false;
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::time_point at;
};

class Simulator {
public:
    struct Options {
        std::string networkNamespace;                 // empty: the caller's namespace
        std::vector<std::string> segmentInterfaces;   // e.g. {"seg0", "seg1"}
        // The PC's addresses on the segments: every controller of a segment holds them as
        // fixed neighbour entries, so that it answers the PC without asking ARP first. The
        // kernel's neighbour table, shared by every namespace of the machine (1024 entries
        // by default), does not count fixed entries: a crowd of controllers answering a
        // search would otherwise fill it twice over, an entry for the PC on each controller
        // and one for each controller on the PC, which learns them from their requests.
        std::vector<PcHost> pcHosts;
        // Called on the simulator's service thread for every frame, right after it is
        // logged (e.g. to write a log file as frames arrive). Must not call back into
        // the Simulator.
        std::function<void(const ReceivedFrame&)> onFrame;
        // Random datagrams at the PC's sockets, from the controllers' sockets (sim/spray.h).
        std::optional<SprayOptions> spray;
    };

    // Brings every controller up (interfaces configured, sockets open) before it returns.
    // nullptr, with the reason in *error, when anything fails.
    static std::unique_ptr<Simulator> Start(const Options& options,
                                            std::vector<ControllerSpec> controllers,
                                            std::string* error = nullptr);
    // Options from the environment that scripts/lab.sh gives to the command it runs
    // (LUMARO_SIM_NETNS, LUMARO_SIM_SEGMENTS, LUMARO_PC_HOSTS); empty optional outside a lab.
    static std::optional<Options> OptionsFromLab();

    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Every frame received so far, in arrival order, one entry per receiving controller.
    std::vector<ReceivedFrame> Log() const;
    std::vector<ReceivedFrame> LogOf(std::uint32_t serial) const;
    // Forgets the frames received and the network replies sent so far.
    void ClearLog();

    ParameterImage Image(std::uint32_t serial) const;
    // Every controller's image by serial, all taken at one moment.
    std::map<std::uint32_t, ParameterImage> Images() const;
    // The address, mask and gateway the controller uses now (DHCP ones when the marker
    // is 0xA5), and its web port.
    ControllerSpec Current(std::uint32_t serial) const;
    // Last clock payload received (frame bytes 20..27), if any.
    std::optional<std::array<std::uint8_t, 8>> LastClockPayload(std::uint32_t serial) const;
    std::size_t RestartCount(std::uint32_t serial) const;

    void SetBehaviour(std::uint32_t serial, const Behaviour& behaviour);

    // How many sprayed datagrams have left so far.
    std::size_t SprayedCount() const;
    // How many answers to frames have left so far (since the start: what a test waits for).
    std::size_t AnswersSent() const;
    // How many received frames have been handled to the end (logged, acted on, answered).
    std::size_t FramesHandled() const;
    // Returns once every datagram that has reached the controllers is handled and no
    // delayed answer waits: the LAN is quiet. (Never, while a spray runs.)
    void WaitUntilIdle() const;
    // Every datagram of 4 bytes or more starting 24 11 (what a PC takes for a network
    // reply) that has left the simulator: answers, spray and SendFrom; the latest 100000.
    std::vector<std::vector<std::uint8_t>> NetworkRepliesSent() const;

    // Sends an arbitrary datagram from a controller's port 60000 (tests of stray traffic) and
    // returns once it has left; nothing leaves while the port is closed (Behaviour::portClosed,
    // in force from the SetBehaviour before).
    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes);

    // Numbers of controllers in `count` with consecutive serials, addresses and MACs in
    // one subnet: a quick LAN for demos and load tests.
    static std::vector<ControllerSpec> Sequential(std::size_t count, std::uint32_t firstSerial,
                                                  Ipv4Address firstAddress, Ipv4Address mask,
                                                  std::size_t segment = 0);

    // A locally administered unicast MAC that no other serial gets: 02-4C and the serial's
    // four bytes, most significant first.
    static std::array<std::uint8_t, 6> DefaultMac(std::uint32_t serial);

    class Impl;

private:
    explicit Simulator(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The PC's addresses that scripts/lab.sh gives to the command it runs (LUMARO_PC_HOSTS);
// none outside a lab, or when they cannot be read.
std::vector<PcHost> PcHostsFromLab();

}  // namespace lumaro::sim
