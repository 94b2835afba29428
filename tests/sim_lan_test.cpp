// The simulated controllers on the wire, seen from the PC's namespace of a test LAN with
// two segments (PC 10.0.1.1/24 on segment 0, 10.0.2.1/24 on segment 1).

#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <netinet/tcp.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "link/discovery_frames.h"
#include "link/network_reply.h"
#include "tests/sim_test_support.h"

namespace lumaro::sim::testing {
namespace {

constexpr Ipv4Address kSecondPcAddress = MakeIpv4(10, 0, 2, 1);

Bytes DiscoveryFrame(std::size_t index) {
    return Bytes(kDiscoveryFrames[index].begin(), kDiscoveryFrames[index].end());
}

class SimLan : public ::testing::Test {
protected:
    // Tests reuse addresses with other MACs: the PC must not remember earlier answers.
    void SetUp() override { ASSERT_EQ(std::system("ip neigh flush all >/dev/null 2>&1"), 0); }
};

ControllerSpec DhcpController() {
    ControllerSpec spec = Controller(200, MakeIpv4(10, 0, 1, 50));
    spec.dhcp = true;
    spec.dhcpIp = MakeIpv4(10, 0, 1, 77);
    spec.dhcpMask = kMask24;
    spec.dhcpGateway = MakeIpv4(10, 0, 1, 1);
    spec.variantCode = 3;
    spec.webPort = 0;
    spec.mac = {0x00, 0x1A, 0x2B, 0x00, 0x00, 0xC8};
    return spec;
}

void ExpectNetworkReply(const Datagram& reply, const ControllerSpec& spec, const Bytes& request) {
    namespace nr = network_reply;
    const ByteReader in(reply.bytes);
    SCOPED_TRACE("reply of controller " + std::to_string(spec.serial));
    ASSERT_EQ(reply.bytes.size(), kNetworkReplyBytes);
    EXPECT_EQ(in.U8(0), 0x24);
    EXPECT_EQ(in.U8(1), 0x11);
    EXPECT_TRUE(CrcHolds(reply.bytes));
    EXPECT_EQ(in.Le32(4), ByteReader(request).Le32(4)) << "sequence";
    EXPECT_EQ(in.Le32(8), spec.serial);
    EXPECT_EQ(in.Le32(12), 0u) << "the request's source serial";
    EXPECT_EQ(in.U8(nr::kVariantCode), spec.variantCode);
    EXPECT_TRUE(std::equal(spec.mac.begin(), spec.mac.end(), reply.bytes.begin() + nr::kMac));
    EXPECT_EQ(in.Le32(nr::kAddress), spec.ip);
    EXPECT_EQ(in.Le32(nr::kMask), spec.mask);
    EXPECT_EQ(in.Le32(nr::kGateway), spec.gateway);
    EXPECT_EQ(in.U8(nr::kAddressingMode), spec.dhcp ? 0xA5 : 0x00);
    EXPECT_EQ(in.Le32(nr::kDhcpAddress), spec.dhcpIp);
    EXPECT_EQ(in.Le32(nr::kDhcpMask), spec.dhcpMask);
    EXPECT_EQ(in.Le32(nr::kDhcpGateway), spec.dhcpGateway);
    EXPECT_EQ(in.Le16(nr::kWebPort), spec.webPort);
    EXPECT_EQ(reply.source, spec.dhcp ? spec.dhcpIp : spec.ip) << "answers from the address in use";
}

TEST_F(SimLan, EveryControllerAnswersEachDiscoveryFrameWithItsNetworkReply) {
    const std::vector<ControllerSpec> specs{Controller(100, MakeIpv4(10, 0, 1, 100)), DhcpController()};
    auto simulator = StartSimulator(specs);
    ASSERT_TRUE(simulator);
    PcSocket pc;
    for (std::size_t frame = 0; frame < kDiscoveryFrames.size(); ++frame) {
        SCOPED_TRACE("discovery frame " + std::to_string(frame + 1));
        pc.Send(DiscoveryFrame(frame));
        auto replies = pc.ReceiveUntilQuiet();
        ASSERT_EQ(replies.size(), specs.size());
        std::sort(replies.begin(), replies.end(),
                  [](const auto& a, const auto& b) { return SerialOf(a) < SerialOf(b); });
        for (std::size_t i = 0; i < specs.size(); ++i) ExpectNetworkReply(replies[i], specs[i], DiscoveryFrame(frame));
    }
    for (const ControllerSpec& spec : specs) {
        const auto log = simulator->LogOf(spec.serial);
        ASSERT_EQ(log.size(), kDiscoveryFrames.size());
        for (std::size_t frame = 0; frame < log.size(); ++frame) {
            EXPECT_EQ(log[frame].bytes, DiscoveryFrame(frame));
            EXPECT_TRUE(log[frame].broadcast);
            EXPECT_TRUE(log[frame].checksumValid);
            EXPECT_EQ(log[frame].source, kPcAddress);
            EXPECT_EQ(log[frame].sourcePort, pc.Port());
        }
    }
}

// /proc/net/arp of the PC's namespace: address -> "aa:bb:cc:dd:ee:ff".
std::map<std::string, std::string> PcArpTable() {
    std::ifstream table("/proc/net/arp");
    std::map<std::string, std::string> entries;
    std::string line, ip, type, flags, mac;
    std::getline(table, line);
    while (table >> ip >> type >> flags >> mac && std::getline(table, line)) entries[ip] = mac;
    return entries;
}

// A crowd answering a broadcast fills no neighbour table: the controllers hold the PC's
// address as a fixed entry and do not ask ARP for it, so the PC learns none of them either.
// (The table is shared by every namespace of the machine, 1024 entries by default.)
TEST_F(SimLan, ControllersAnswerThePcWithoutAskingArpForIt) {
    const auto specs = Simulator::Sequential(60, 900, MakeIpv4(10, 0, 1, 60), kMask24);
    auto simulator = StartSimulator(specs);
    ASSERT_TRUE(simulator);
    PcSocket pc;
    pc.Send(DiscoveryFrame(0));
    EXPECT_EQ(pc.ReceiveUntilQuiet().size(), specs.size());
    const auto arp = PcArpTable();
    for (const ControllerSpec& spec : specs) {
        EXPECT_FALSE(arp.count(FormatAddress(spec.ip))) << FormatAddress(spec.ip) << " asked ARP";
    }
}

TEST_F(SimLan, ControllerOnTheSecondSegmentIsFoundOnlyThroughThePcInterfaceThere) {
    auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100), 0),
                                     Controller(300, MakeIpv4(10, 0, 2, 100), 1)});
    ASSERT_TRUE(simulator);
    const struct {
        Ipv4Address pc;
        std::uint32_t found;
    } cases[] = {{kPcAddress, 100}, {kSecondPcAddress, 300}};
    for (const auto& c : cases) {
        PcSocket pc(c.pc);
        pc.Send(DiscoveryFrame(0));
        const auto replies = pc.ReceiveUntilQuiet();
        ASSERT_EQ(replies.size(), 1u) << "through " << FormatAddress(c.pc);
        EXPECT_EQ(SerialOf(replies[0]), c.found) << "through " << FormatAddress(c.pc);
    }
}

TEST_F(SimLan, CommandsAddressedToAControllerAreAcknowledgedAndTakeEffect) {
    const ControllerSpec spec = Controller(100, MakeIpv4(10, 0, 1, 100));
    auto simulator = StartSimulator({spec, Controller(101, MakeIpv4(10, 0, 1, 101))});
    ASSERT_TRUE(simulator);
    Bytes clock = Request(0x20, 0x30, 28, 100, 7002);
    const Bytes payload{0x24, 0x03, 0x10, 0x00, 0x09, 0x05, 0x07, 0xFF};
    std::copy(payload.begin(), payload.end(), clock.begin() + 20);
    Seal(clock);
    const struct {
        const char* name;
        Bytes request;
        Ipv4Address destination;
        std::size_t answerBytes;
    } cases[] = {
        {"probe", Probe(100, 7001), spec.ip, kAcknowledgeBytes},
        {"clock", clock, kLimitedBroadcast, kAcknowledgeBytes},
        {"restart", Request(0x20, 0x90, 24, 100, 7003), kLimitedBroadcast, kAcknowledgeBytes},
        {"read network parameters", Request(0x24, 0x10, 20, 100, 7004), kLimitedBroadcast, kNetworkReplyBytes},
    };
    PcSocket pc;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pc.Send(c.request, c.destination);
        const auto replies = pc.ReceiveUntilQuiet();
        ASSERT_EQ(replies.size(), 1u) << "only the addressed controller answers";
        const ByteReader answer(replies[0].bytes);
        EXPECT_EQ(replies[0].bytes.size(), c.answerBytes);
        EXPECT_EQ(replies[0].source, spec.ip);
        EXPECT_EQ(answer.Le32(4), ByteReader(c.request).Le32(4)) << "sequence";
        EXPECT_EQ(answer.Le32(8), 100u);
        EXPECT_EQ(answer.U8(18), spec.variantCode);
        EXPECT_TRUE(CrcHolds(replies[0].bytes));
        if (c.answerBytes == kAcknowledgeBytes) {
            EXPECT_EQ(answer.U8(0), c.request[0]);
            EXPECT_EQ(answer.U8(1), c.request[1]);
            EXPECT_EQ(answer.U8(20), 1);
        }
        const auto log = simulator->LogOf(100);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().broadcast, c.destination == kLimitedBroadcast);
        EXPECT_EQ(log.back().destination, c.destination);
    }
    EXPECT_EQ(simulator->LastClockPayload(100), (std::array<std::uint8_t, 8>{0x24, 0x03, 0x10, 0x00, 0x09, 0x05, 0x07, 0xFF}));
    EXPECT_EQ(simulator->RestartCount(100), 1u);
    EXPECT_EQ(simulator->RestartCount(101), 0u);
    EXPECT_FALSE(simulator->LastClockPayload(101));
}

TEST_F(SimLan, FramesNotMeantForTheControllerAreLoggedButNotAnswered) {
    auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(simulator);
    Bytes damaged = Probe(100, 1);
    damaged[2] ^= 0x01;
    Bytes truncated = DiscoveryFrame(0);
    truncated.resize(19);
    const struct {
        const char* name;
        Bytes frame;
        bool checksumValid;
    } cases[] = {
        {"wrong checksum", damaged, false},
        {"shorter than a header", truncated, false},
        {"for another controller", Probe(101, 2), true},
        {"unknown kind", Request(0x20, 0x55, 24, 100, 3), true},
        {"write shorter than 1172 bytes", Request(0x25, 0x20, 100, 100, 4), true},
    };
    PcSocket pc;
    std::size_t logged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pc.Send(c.frame);
        EXPECT_FALSE(pc.Receive(300ms));
        const auto log = WaitForLog(*simulator, ++logged);
        ASSERT_EQ(log.size(), logged);
        EXPECT_EQ(log.back().bytes, c.frame);
        EXPECT_EQ(log.back().checksumValid, c.checksumValid);
    }
}

TEST_F(SimLan, EachControllerAnswersArpWithItsOwnMac) {
    std::vector<ControllerSpec> specs = Simulator::Sequential(3, 500, MakeIpv4(10, 0, 1, 30), kMask24);
    specs[1].mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    auto simulator = StartSimulator(specs);
    ASSERT_TRUE(simulator);
    PcSocket pc;
    for (const ControllerSpec& spec : specs) {
        pc.Send(Probe(spec.serial, 9), spec.ip);
        ASSERT_TRUE(pc.Receive(1s)) << "probe of " << FormatAddress(spec.ip);
    }
    const auto arp = PcArpTable();
    for (const ControllerSpec& spec : specs) {
        char mac[18];
        std::snprintf(mac, sizeof mac, "%02x:%02x:%02x:%02x:%02x:%02x", spec.mac[0], spec.mac[1],
                      spec.mac[2], spec.mac[3], spec.mac[4], spec.mac[5]);
        ASSERT_TRUE(arp.count(FormatAddress(spec.ip))) << FormatAddress(spec.ip);
        EXPECT_EQ(arp.at(FormatAddress(spec.ip)), mac) << FormatAddress(spec.ip);
    }
}

// Sends one ARP request from the PC's interface and gathers the MACs that answer it.
std::set<std::string> MacsAnsweringArpFor(Ipv4Address target, const char* interface = "pc0") {
    platform::Descriptor socket(::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP)));
    EXPECT_TRUE(socket.Valid());
    sockaddr_ll link{};
    link.sll_family = AF_PACKET;
    link.sll_protocol = htons(ETH_P_ARP);
    link.sll_ifindex = static_cast<int>(::if_nametoindex(interface));
    EXPECT_EQ(::bind(socket.Get(), reinterpret_cast<sockaddr*>(&link), sizeof link), 0);
    std::uint8_t ownMac[6] = {};
    socklen_t length = sizeof link;
    ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&link), &length);
    std::copy(link.sll_addr, link.sll_addr + 6, ownMac);

    Bytes request{0x00, 0x01, 0x08, 0x00, 6, 4, 0x00, 0x01};  // Ethernet, IPv4, request
    request.insert(request.end(), ownMac, ownMac + 6);
    for (int i = 0; i < 4; ++i) request.push_back(Octet(kPcAddress, i));
    request.insert(request.end(), 6, 0);
    for (int i = 0; i < 4; ++i) request.push_back(Octet(target, i));
    link.sll_halen = 6;
    std::fill(link.sll_addr, link.sll_addr + 6, 0xFF);
    EXPECT_EQ(::sendto(socket.Get(), request.data(), request.size(), 0,
                       reinterpret_cast<sockaddr*>(&link), sizeof link),
              static_cast<ssize_t>(request.size()));

    std::set<std::string> macs;
    pollfd ready{socket.Get(), POLLIN, 0};
    while (::poll(&ready, 1, 500) > 0) {
        std::uint8_t reply[64];
        const ssize_t n = ::recv(socket.Get(), reply, sizeof reply, 0);
        const bool answersTarget = n >= 28 && reply[7] == 2 && std::equal(reply + 14, reply + 18, request.end() - 4);
        if (!answersTarget) continue;
        char mac[18];
        std::snprintf(mac, sizeof mac, "%02x:%02x:%02x:%02x:%02x:%02x", reply[8], reply[9], reply[10],
                      reply[11], reply[12], reply[13]);
        macs.insert(mac);
    }
    return macs;
}

TEST_F(SimLan, BothControllersOfADuplicateAddressClaimItInArpAndAnswerDiscovery) {
    const Ipv4Address shared = MakeIpv4(10, 0, 1, 60);
    auto simulator = StartSimulator({Controller(600, shared), Controller(601, shared)});
    ASSERT_TRUE(simulator);
    EXPECT_EQ(MacsAnsweringArpFor(shared), (std::set<std::string>{"02:4c:00:00:02:58", "02:4c:00:00:02:59"}));
    PcSocket pc;
    pc.Send(DiscoveryFrame(0));
    const auto replies = pc.ReceiveUntilQuiet();
    std::set<std::uint32_t> serials;
    for (const auto& reply : replies) serials.insert(SerialOf(reply));
    EXPECT_EQ(serials, (std::set<std::uint32_t>{600, 601}));
}

TEST_F(SimLan, MaskedWriteTakesExactlyTheMarkedBytes) {
    auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(simulator);
    const ParameterImage before = simulator->Image(100);
    // Every image byte of the frame holds a value, but only some are marked.
    MaskedWrite write(100, 42);
    for (std::size_t i = 20; i < 1044; ++i) write.frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::vector<std::size_t> marked{116, 117, 118, 120, 121, 122, 123, 500, 1043};
    for (std::size_t frameByte : marked) write.Put(frameByte, static_cast<std::uint8_t>(frameByte * 7 + 3));
    PcSocket pc;
    pc.Send(write.Sealed());
    const auto answer = pc.Receive(1s);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->bytes.size(), kAcknowledgeBytes);
    EXPECT_EQ(SequenceOf(*answer), 42u);

    ParameterImage expected = before;
    for (std::size_t frameByte : marked) expected[frameByte - 20] = static_cast<std::uint8_t>(frameByte * 7 + 3);
    const ParameterImage after = simulator->Image(100);
    for (std::size_t i = 0; i < kImageBytes; ++i) {
        EXPECT_EQ(after[i], expected[i]) << "frame byte " << i + 20;
    }
}

TEST_F(SimLan, WrittenAddressIsTakenAtOnce) {
    const ControllerSpec dhcp = DhcpController();  // uses 10.0.1.77, fixed address 10.0.1.50
    const struct {
        const char* name;
        Bytes write;
        std::uint32_t serial;
        Ipv4Address oldAddress;
        Ipv4Address newAddress;
        bool inPcSubnet;
    } cases[] = {
        {"new address in the PC's subnet",
         MaskedWrite(100, 1).PutAddress(20, MakeIpv4(10, 0, 1, 123)).PutAddress(24, kMask24).Sealed(), 100,
         MakeIpv4(10, 0, 1, 100), MakeIpv4(10, 0, 1, 123), true},
        {"new address outside the PC's subnet",
         MaskedWrite(100, 1).PutAddress(20, MakeIpv4(192, 168, 7, 20)).PutAddress(24, kMask24).Sealed(), 100,
         MakeIpv4(10, 0, 1, 100), MakeIpv4(192, 168, 7, 20), false},
        {"DHCP switched off: the fixed address", MaskedWrite(200, 1).Put(150, 0x00).Sealed(), 200,
         dhcp.dhcpIp, dhcp.ip, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(std::system("ip neigh flush all >/dev/null 2>&1"), 0);
        auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100)), dhcp});
        ASSERT_TRUE(simulator);
        PcSocket pc;
        pc.Send(c.write);
        ASSERT_TRUE(pc.Receive(1s)) << "acknowledge";
        EXPECT_EQ(simulator->Current(c.serial).ip, c.newAddress);

        pc.Send(Request(0x24, 0x10, 20, c.serial, 2));
        const auto reply = pc.Receive(1s);
        ASSERT_TRUE(reply) << "broadcasts still reach the PC";
        EXPECT_EQ(reply->source, c.newAddress);
        EXPECT_EQ(ByteReader(reply->bytes).Le32(reply->bytes[150] == 0xA5 ? 404 : 136), c.newAddress);
        if (c.inPcSubnet) {
            pc.Send(Probe(c.serial, 3), c.newAddress);
            EXPECT_TRUE(pc.Receive(1s)) << "unicast probe at the new address";
        }
        pc.Send(Probe(c.serial, 4), c.oldAddress);
        EXPECT_FALSE(pc.Receive(300ms)) << "unicast probe at the old address";
    }
}

// Connects to port 80 without blocking; what happened after `wait`.
enum class Connect { Established, Refused, NoAnswer };
Connect ConnectToWebPort(Ipv4Address address, std::chrono::milliseconds wait, std::string* page = nullptr) {
    platform::Descriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(80);
    to.sin_addr.s_addr = address;
    ::connect(socket.Get(), reinterpret_cast<sockaddr*>(&to), sizeof to);
    pollfd ready{socket.Get(), POLLOUT, 0};
    if (::poll(&ready, 1, static_cast<int>(wait.count())) == 0) return Connect::NoAnswer;
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) return Connect::Refused;
    if (page) {
        const std::string request = "GET / HTTP/1.0\r\n\r\n";
        ::send(socket.Get(), request.data(), request.size(), MSG_NOSIGNAL);
        char chunk[1024];
        pollfd readable{socket.Get(), POLLIN, 0};
        while (::poll(&readable, 1, 2000) > 0) {
            const ssize_t n = ::recv(socket.Get(), chunk, sizeof chunk, 0);
            if (n <= 0) break;
            page->append(chunk, static_cast<std::size_t>(n));
        }
    }
    return Connect::Established;
}

TEST_F(SimLan, WebPortServesAPageWhileNonzeroAndIsSilentWhileZero) {
    const ControllerSpec serving = Controller(100, MakeIpv4(10, 0, 1, 100));
    ControllerSpec off = Controller(101, MakeIpv4(10, 0, 1, 101));
    off.webPort = 0;
    auto simulator = StartSimulator({serving, off});
    ASSERT_TRUE(simulator);
    PcSocket pc;
    auto writeWebPort = [&](std::uint16_t port) {
        pc.Send(MaskedWrite(100, 5).PutWebPort(port).Sealed());
        ASSERT_TRUE(pc.Receive(1s)) << "acknowledge";
    };

    std::string page;
    EXPECT_EQ(ConnectToWebPort(serving.ip, 1500ms, &page), Connect::Established);
    EXPECT_NE(page.find("HTTP/1.0 200 OK"), std::string::npos) << page;
    EXPECT_NE(page.find("Controller 100"), std::string::npos) << page;
    EXPECT_EQ(ConnectToWebPort(off.ip, 1500ms), Connect::NoAnswer) << "configured with web port 0";

    writeWebPort(0);
    EXPECT_EQ(ConnectToWebPort(serving.ip, 1500ms), Connect::NoAnswer) << "after writing web port 0";
    writeWebPort(80);
    page.clear();
    EXPECT_EQ(ConnectToWebPort(serving.ip, 1500ms, &page), Connect::Established) << "after writing 80";
    EXPECT_NE(page.find("Controller 100"), std::string::npos) << page;
}

TEST_F(SimLan, MisbehavingControllerSpoilsItsAnswersAsTold) {
    const ControllerSpec spec = Controller(100, MakeIpv4(10, 0, 1, 100));
    auto simulator = StartSimulator({spec});
    ASSERT_TRUE(simulator);
    const Bytes request = Probe(100, 0x1000);
    Bytes full;
    {
        PcSocket pc;
        pc.Send(request, spec.ip);
        auto answer = pc.Receive(1s);
        ASSERT_TRUE(answer);
        full = answer->bytes;
    }
    const struct {
        const char* name;
        Behaviour behaviour;
        std::vector<std::size_t> lengths;  // of the datagrams that arrive, in order
        std::uint32_t sequence;
    } cases[] = {
        {"never answers", NeverAnswers(), {}, 0},
        {"wrong sequence", WrongSequence(), {64}, 0x1001},
        {"cut answers", ReplyLengths({3, 4, 19, 20}), {3, 4, 19, 20}, 0x1000},
        {"one cut and one full answer", ReplyLengths({19, 0}), {19, 64}, 0x1000},
        {"normal again", Behaviour{}, {64}, 0x1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        simulator->SetBehaviour(100, c.behaviour);
        simulator->ClearLog();
        PcSocket pc;
        pc.Send(request, spec.ip);
        const auto answers = pc.ReceiveUntilQuiet(300ms);
        ASSERT_EQ(answers.size(), c.lengths.size());
        for (std::size_t i = 0; i < answers.size(); ++i) {
            EXPECT_EQ(answers[i].bytes.size(), c.lengths[i]);
            if (c.sequence == 0x1000) {
                EXPECT_TRUE(std::equal(answers[i].bytes.begin(), answers[i].bytes.end(), full.begin()))
                    << "a cut answer is the start of the full one";
            } else {
                EXPECT_EQ(SequenceOf(answers[i]), c.sequence);
                EXPECT_TRUE(CrcHolds(answers[i].bytes));
            }
        }
        EXPECT_EQ(WaitForLog(*simulator, 1).size(), 1u) << "the frame is logged in any case";
    }
}

TEST_F(SimLan, DelayedControllerAnswersLaterWithoutHoldingUpTheOthers) {
    ControllerSpec slow = Controller(100, MakeIpv4(10, 0, 1, 100));
    slow.behaviour.replyDelay = 300ms;
    auto simulator = StartSimulator({slow, Controller(101, MakeIpv4(10, 0, 1, 101))});
    ASSERT_TRUE(simulator);
    PcSocket pc;
    const auto sent = std::chrono::steady_clock::now();
    pc.Send(DiscoveryFrame(0));
    const auto replies = pc.ReceiveUntilQuiet(1s);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(SerialOf(replies[0]), 101u) << "the prompt controller answers first";
    EXPECT_EQ(SerialOf(replies[1]), 100u);
    EXPECT_GE(replies[1].at - sent, 300ms);
}

TEST_F(SimLan, SendFromDeliversAnyBytesFromTheControllersPort) {
    auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(simulator);
    PcSocket pc;
    simulator->SendFrom(100, kPcAddress, pc.Port(), {0x24, 0x11, 0x00});
    const auto datagram = pc.Receive(1s);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes, (Bytes{0x24, 0x11, 0x00}));
    EXPECT_EQ(datagram->source, MakeIpv4(10, 0, 1, 100));
    EXPECT_EQ(datagram->sourcePort, kControllerPort);
}

TEST_F(SimLan, SendFromFollowsPort60000AsItClosesAndOpensAgain) {
    // The service thread closes and reopens the controller's socket as its behaviour says,
    // while this thread sends from it: what is sent while the port is closed never leaves,
    // what is sent once it is open again does, each time. (Datagrams that are no network
    // reply: the simulator notes those under its lock, these it sends without.)
    auto simulator = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(simulator);
    PcSocket pc;
    Behaviour closed;
    closed.portClosed = true;
    for (std::uint8_t round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        simulator->SetBehaviour(100, closed);
        simulator->SendFrom(100, kPcAddress, pc.Port(), {0x55, 0x00, round});
        simulator->SetBehaviour(100, {});
        simulator->SendFrom(100, kPcAddress, pc.Port(), {0x55, 0x01, round});
        const auto datagram = pc.Receive(1s);
        ASSERT_TRUE(datagram) << "nothing left the reopened port";
        EXPECT_EQ(datagram->bytes, (Bytes{0x55, 0x01, round}))
            << "the first to arrive is the one sent once the port was open again";
    }
}

}  // namespace
}  // namespace lumaro::sim::testing
