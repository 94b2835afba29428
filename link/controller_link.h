#pragma once
// The controller link: the state that the operations on controllers share (interface
// sockets, controller table, transmit and receive buffers, sequence counter, variant
// code) and the operations on it. The window and a console command use one each; the
// console's batch one per controller it runs on at once. Requests give a CommandReply that
// cannot be dropped; nothing throws.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "link/command_reply.h"
#include "link/controller_record.h"
#include "link/frame.h"
#include "link/interface_choice.h"
#include "link/link_socket.h"
#include "platform/clock.h"
#include "platform/local_addresses.h"
#include "platform/socket_layer.h"
#include "platform/timer_resolution.h"

namespace lumaro {

constexpr std::chrono::microseconds kWaitSlice{8000};
constexpr int kExchangeQuietCount = 100;  // a phase ends on the 101st quiet slice
constexpr int kCollectQuietCount = 10;    // a collect ends on its 11th quiet wait
constexpr std::size_t kMinimumReplyBytes = kFrameHeaderBytes;
constexpr std::size_t kReceiveBufferBytes = 2048;
constexpr std::size_t kCollectAreaBytes = 8352;

// Bounds for a LAN that never falls quiet. Anything that keeps sending to our port a few
// times a second (a misbehaving device, a flood) would otherwise hold a command or a
// search, and the window with it, for ever: the drain restarts its quiet count on every
// datagram of 20 bytes or more, and neither a collect nor the reply wait counts a slice
// that brought a datagram. Each phase therefore stops waiting once its limit has passed
// since it began: the drain then sends all the same, the reply wait gives -1, a collect
// ends. A LAN whose controllers answer each request once never comes near them: a drain
// lasts its 101 quiet slices (0.8 s, 1.6 s where the system's timer ticks every 15.6 ms)
// plus the late answers it reads, the reply wait at most as long, a collect 11 slices plus
// the time to read the replies (about 0.1 s for 250 controllers).
constexpr std::chrono::seconds kDrainTimeLimit{5};
constexpr std::chrono::seconds kReplyWaitTimeLimit{5};
constexpr std::chrono::seconds kCollectTimeLimit{2};

struct InterfaceSocket {
    Ipv4Address address = 0;
    Ipv4Address mask = 0;
    std::unique_ptr<LinkSocket> socket;
};

// What the link takes from the system: the address table, sockets, the clocks. Every
// member defaults to the system's; tests and fuzz targets replace some of them.
struct LinkEnvironment {
    using SteadyTime = std::chrono::steady_clock::time_point;

    std::function<std::optional<std::vector<platform::LocalAddress>>()> readAddressTable =
        platform::ReadLocalAddressTable;
    std::function<std::unique_ptr<LinkSocket>(Ipv4Address local)> openSocket = OpenSystemSocket;
    // The clock of the time limits above.
    std::function<SteadyTime()> steadyNow = std::chrono::steady_clock::now;
    std::function<std::int64_t()> secondsSince1970 = platform::SecondsSince1970;
    std::function<std::optional<platform::CalendarTime>()> localNow = [] {
        return platform::ToLocalCalendar(platform::SecondsSince1970());
    };
    // The system's fine timer, held while the link waits on the network (a search, an
    // exchange): the waits are 8 ms slices, which Windows' default 15.625 ms tick would
    // stretch to a whole tick each. Every request is released once.
    std::function<void()> requestFineTimer = platform::RequestFineTimer;
    std::function<void()> releaseFineTimer = platform::ReleaseFineTimer;

    static LinkEnvironment System() { return {}; }
};

class ControllerLink {
public:
    explicit ControllerLink(LinkEnvironment environment = LinkEnvironment::System());
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    // Interface sockets and the exchange. The link holds a start of the system's socket
    // layer for as long as it holds sockets (opened before the first, released after the
    // last is closed).
    void OpenInterfaceSockets();
    void CloseInterfaceSockets();
    std::size_t InterfaceCount() const { return sockets_.size(); }
    const InterfaceSocket& Interface(std::size_t position) const { return sockets_[position]; }
    // The PC's addresses that the interface sockets are bound to, in their order.
    std::vector<Ipv4Address> InterfaceAddresses() const {
        std::vector<Ipv4Address> addresses;
        for (const InterfaceSocket& socket : sockets_) addresses.push_back(socket.address);
        return addresses;
    }
    // Sends `frame` from the socket of `hostAddress` to (destination, 60000) after draining
    // what was queued, and waits for one datagram of at least 20 bytes: 0 when it came
    // (it is then in the receive buffer): Answered, whoever sent it; Silent otherwise.
    // Each phase is bounded in time (kDrainTimeLimit, kReplyWaitTimeLimit).
    CommandReply Exchange(Ipv4Address hostAddress, Ipv4Address destination,
                 std::span<const std::uint8_t> frame);
    // The datagram that the last receive of an exchange stored (only its received bytes).
    std::span<const std::uint8_t> ReceivedReply() const {
        return {receiveBuffer_.data(), receivedBytes_};
    }

    // Discovery and the controller table.
    void DiscoverControllers();
    void CollectReplies(std::size_t socketPosition);
    void SortBySerial();
    const ControllerTable& Table() const { return table_; }
    ControllerTable& Table() { return table_; }

    // Composition state.
    TransmitBuffer& Transmit() { return transmitBuffer_; }
    const TransmitBuffer& Transmit() const { return transmitBuffer_; }
    void ClearTransmitBuffer();
    std::uint32_t SequenceCounter() const { return sequenceCounter_; }
    void SeedSequenceCounter();  // low 32 bits of the seconds since 1970
    void SetSequenceCounter(std::uint32_t value) { sequenceCounter_ = value; }
    void AdvanceSequenceCounter() { ++sequenceCounter_; }
    std::uint8_t CurrentVariantCode() const { return currentVariantCode_; }
    void SetCurrentVariantCode(std::uint8_t code) { currentVariantCode_ = code; }
    // Header of a request composed in the transmit buffer, with the current counter and
    // variant code.
    void WriteFrameHeader(const FrameKind& kind, std::uint32_t targetSerial);

    // Controller commands, addressed by serial through the socket of hostAddress: Answered
    // only when the reply carries the request's sequence number.
    CommandReply ProbeController(Ipv4Address destination, Ipv4Address hostAddress,
                                 std::uint32_t serial);
    CommandReply ReadNetworkParameters(Ipv4Address hostAddress, std::uint32_t serial);
    CommandReply WriteSettings(Ipv4Address hostAddress, std::uint32_t serial);
    CommandReply SetControllerClock(Ipv4Address hostAddress, std::uint32_t serial);
    CommandReply RestartController(Ipv4Address hostAddress, std::uint32_t serial);

    // The fine timer held for as long as the object lives (see LinkEnvironment); holds may
    // nest, and the system is asked once for the outermost. For waits outside the link's
    // own operations, such as a search run one interface at a time.
    class FineTimerHold {
    public:
        explicit FineTimerHold(ControllerLink& link);
        ~FineTimerHold();
        FineTimerHold(const FineTimerHold&) = delete;
        FineTimerHold& operator=(const FineTimerHold&) = delete;

    private:
        ControllerLink& link_;
    };

private:
    CommandReply SendCommand(const FrameKind& kind, Ipv4Address destination,
                             Ipv4Address hostAddress, std::uint32_t serial);
    InterfaceSocket* FindInterface(Ipv4Address address);
    bool ReceiveInto(LinkSocket& socket);
    void Drain(LinkSocket& socket);
    CommandReply AwaitReply(LinkSocket& socket);

    LinkEnvironment environment_;
    std::optional<platform::SocketLayerHold> socketLayer_;  // goes after the sockets
    std::vector<InterfaceSocket> sockets_;
    ControllerTable table_;
    TransmitBuffer transmitBuffer_{};
    std::array<std::uint8_t, kReceiveBufferBytes> receiveBuffer_{};
    std::size_t receivedBytes_ = 0;
    std::uint32_t sequenceCounter_ = 0;
    std::uint8_t currentVariantCode_ = 0;
    int fineTimerHolds_ = 0;
};

}  // namespace lumaro
