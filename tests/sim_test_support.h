#pragma once
// What the simulator's tests use on the PC's side of the test LAN: plain sockets, frames
// composed byte by byte with a checksum computed here (an independent check of the
// simulator's), and a simulator started in the lab's namespace.

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/byte_io.h"
#include "link/controller_text.h"
#include "link/frame.h"
#include "platform/net/descriptor_posix.h"
#include "sim/simulator.h"

namespace lumaro::sim::testing {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

constexpr Ipv4Address kPcAddress = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kMask24 = MakeIpv4(255, 255, 255, 0);

// CRC-16/ARC with bytes 2-3 counted as zero, written out again for the tests.
inline std::uint16_t Crc(const Bytes& frame) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        crc ^= (i == 2 || i == 3) ? 0 : frame[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

inline bool CrcHolds(const Bytes& frame) {
    return frame.size() >= 20 && ByteReader(frame).Le16(2) == Crc(frame);
}

// A request: header filled, payload zero, checksum over the whole length (call Seal after
// changing the payload).
inline void Seal(Bytes& frame) { PutLe16(frame, 2, Crc(frame)); }
inline Bytes Request(std::uint8_t group, std::uint8_t code, std::size_t length,
                     std::uint32_t target, std::uint32_t sequence, std::uint8_t variant = 1) {
    Bytes frame(length, 0);
    frame[0] = group;
    frame[1] = code;
    PutLe32(frame, 4, sequence);
    PutLe32(frame, 12, target);
    frame[18] = variant;
    Seal(frame);
    return frame;
}
inline Bytes Probe(std::uint32_t target, std::uint32_t sequence) {
    Bytes frame = Request(0x20, 0x10, 24, target, sequence);
    std::fill(frame.begin() + 20, frame.end(), 0xFF);
    Seal(frame);
    return frame;
}

// The masked write: image bytes and mask bits set per frame byte number.
struct MaskedWrite {
    Bytes frame;
    MaskedWrite(std::uint32_t target, std::uint32_t sequence)
        : frame(Request(0x25, 0x20, 1172, target, sequence)) {}
    MaskedWrite& Put(std::size_t frameByte, std::uint8_t value) {
        frame[frameByte] = value;
        frame[1044 + (frameByte - 20) / 8] |= static_cast<std::uint8_t>(1u << ((frameByte - 20) % 8));
        return *this;
    }
    MaskedWrite& PutAddress(std::size_t frameByte, Ipv4Address address) {
        for (int i = 0; i < 4; ++i) Put(frameByte + i, Octet(address, i));
        return *this;
    }
    MaskedWrite& PutWebPort(std::uint16_t port) {
        return Put(116, static_cast<std::uint8_t>(port)).Put(117, static_cast<std::uint8_t>(port >> 8));
    }
    Bytes Sealed() const {
        Bytes sealed = frame;
        Seal(sealed);
        return sealed;
    }
};

struct Datagram {
    Bytes bytes;
    Ipv4Address source = 0;
    std::uint16_t sourcePort = 0;
    std::chrono::steady_clock::time_point at;
};

// A UDP socket of the PC, bound to one of its addresses like the tool's interface sockets.
class PcSocket {
public:
    explicit PcSocket(Ipv4Address local = kPcAddress, int receiveBuffer = 0) {
        socket_ = platform::Descriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        const int on = 1;
        ::setsockopt(socket_.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        if (receiveBuffer > 0 &&
            ::setsockopt(socket_.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &receiveBuffer, sizeof receiveBuffer) != 0) {
            ::setsockopt(socket_.Get(), SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = local;
        EXPECT_EQ(::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
            << "cannot bind a PC socket to " << local;
    }

    std::uint16_t Port() const {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        return ntohs(address.sin_port);
    }
    int ReceiveBufferBytes() const {
        int size = 0;
        socklen_t length = sizeof size;
        ::getsockopt(socket_.Get(), SOL_SOCKET, SO_RCVBUF, &size, &length);
        return size;
    }

    void Send(const Bytes& bytes, Ipv4Address destination = kLimitedBroadcast,
              std::uint16_t port = kControllerPort) const {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = destination;
        EXPECT_EQ(::sendto(socket_.Get(), bytes.data(), bytes.size(), 0,
                           reinterpret_cast<sockaddr*>(&address), sizeof address),
                  static_cast<ssize_t>(bytes.size()));
    }

    // The next datagram, or nothing once `timeout` has passed without one.
    std::optional<Datagram> Receive(std::chrono::milliseconds timeout) const {
        pollfd ready{socket_.Get(), POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
        Datagram datagram;
        datagram.bytes.resize(65536);
        sockaddr_in source{};
        socklen_t length = sizeof source;
        const ssize_t n = ::recvfrom(socket_.Get(), datagram.bytes.data(), datagram.bytes.size(), 0,
                                     reinterpret_cast<sockaddr*>(&source), &length);
        if (n < 0) return std::nullopt;
        datagram.bytes.resize(static_cast<std::size_t>(n));
        datagram.source = source.sin_addr.s_addr;
        datagram.sourcePort = ntohs(source.sin_port);
        datagram.at = std::chrono::steady_clock::now();
        return datagram;
    }

    // Every datagram until none has come for `quiet`.
    std::vector<Datagram> ReceiveUntilQuiet(std::chrono::milliseconds quiet = 400ms) const {
        std::vector<Datagram> all;
        while (auto datagram = Receive(quiet)) all.push_back(std::move(*datagram));
        return all;
    }

private:
    platform::Descriptor socket_;
};

// Behaviours by name, for tables of cases.
inline Behaviour NeverAnswers() {
    Behaviour behaviour;
    behaviour.neverAnswers = true;
    return behaviour;
}
inline Behaviour WrongSequence(std::chrono::milliseconds delay = 0ms) {
    Behaviour behaviour;
    behaviour.wrongSequence = true;
    behaviour.replyDelay = delay;
    return behaviour;
}
inline Behaviour AnswersOnlySearch() {
    Behaviour behaviour;
    behaviour.answersOnlySearch = true;
    return behaviour;
}
inline Behaviour ReplyLengths(std::vector<std::size_t> lengths) {
    Behaviour behaviour;
    behaviour.replyLengths = std::move(lengths);
    return behaviour;
}
inline Behaviour ReplyDelay(std::chrono::milliseconds delay) {
    Behaviour behaviour;
    behaviour.replyDelay = delay;
    return behaviour;
}

inline ControllerSpec Controller(std::uint32_t serial, Ipv4Address ip, std::size_t segment = 0) {
    ControllerSpec spec;
    spec.serial = serial;
    spec.mac = Simulator::DefaultMac(serial);
    spec.ip = ip;
    spec.mask = kMask24;
    spec.gateway = MakeIpv4(Octet(ip, 0), Octet(ip, 1), Octet(ip, 2), 254);
    spec.segment = segment;
    return spec;
}

inline std::unique_ptr<Simulator> StartSimulator(std::vector<ControllerSpec> controllers) {
    auto options = Simulator::OptionsFromLab();
    EXPECT_TRUE(options) << "run me through scripts/lab.sh (LUMARO_SIM_NETNS is not set)";
    if (!options) return nullptr;
    std::string error;
    auto simulator = Simulator::Start(*options, std::move(controllers), &error);
    EXPECT_TRUE(simulator) << error;
    return simulator;
}

// Waits (up to 2 s) until the simulator has logged `count` frames in all.
inline std::vector<ReceivedFrame> WaitForLog(const Simulator& simulator, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    auto log = simulator.Log();
    while (log.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
        log = simulator.Log();
    }
    return log;
}

inline std::uint32_t SerialOf(const Datagram& reply) { return ByteReader(reply.bytes).Le32(8); }
inline std::uint32_t SequenceOf(const Datagram& reply) { return ByteReader(reply.bytes).Le32(4); }

}  // namespace lumaro::sim::testing
