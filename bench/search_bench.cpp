// How long a search and an exchange take against the floors the protocol allows, on the
// interfaces of the test LAN it runs in (scripts/bench.sh runs it in labs of 1, 2 and 4 PC
// interfaces).
//
//   search_bench CONTROLLERS [RUNS]
//
// Search floors:
//  - the protocol's floor: every collect lasts at least 11 waits of 8 ms, four frames
//    through every socket: 4 x sockets x 11 x 8 ms;
//  - the floor with the replies' arrival: the same collects run by an ideal machine
//    (every wait exactly 8 ms, no cost for a receive or a send) on the replies as they
//    arrived, each at its time after its request left (both as the PC's interfaces saw
//    them, bench/packet_capture.h). A reply extends a collect (its wait is not counted),
//    and a full table ends the search early; the time above this floor is our own.
// Exchange floor: the drain's 101 quiet slices of 8 ms; with the reply, plus the time from
// the request leaving the PC to its reply arriving.
// Prints one line per figure and a last "row" line for the README table.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/packet_capture.h"
#include "link/byte_io.h"
#include "link/controller_link.h"
#include "link/discovery_frames.h"
#include "link/search.h"
#include "sim/simulator.h"

namespace lumaro {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// The link's own figures: a collect ends on its 11th quiet wait, a drain on its 101st
// quiet slice.
constexpr auto kSlice = kWaitSlice;
constexpr int kCollectQuietWaits = kCollectQuietCount + 1;
constexpr int kDrainQuietSlices = kExchangeQuietCount + 1;
constexpr auto kSettle = std::chrono::milliseconds(300);

// CPU time of the calling thread alone (the simulator runs on threads of its own).
double ThreadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One collect run by the ideal machine: the replies arrive at these offsets after the
// send; `found` holds the serials already in the table. Gives the collect's duration.
Clock::duration IdealCollect(std::vector<std::pair<Clock::duration, std::uint32_t>> replies,
                             std::set<std::uint32_t>& found) {
    std::sort(replies.begin(), replies.end());
    Clock::duration now{0};
    int quietLeft = kCollectQuietWaits - 1;
    std::size_t next = 0;
    while (found.size() < ControllerTable::kCapacity) {
        if (next < replies.size() && replies[next].first <= now + kSlice) {
            now = std::max(now, replies[next].first);  // the wait ends as the reply arrives
            found.insert(replies[next].second);
            ++next;
            continue;
        }
        now += kSlice;
        if (quietLeft == 0) break;
        --quietLeft;
    }
    return now;
}

// The discovery frame (0-3) that a request or a reply belongs to, by the fixed sequence
// that the frame carries and its reply repeats.
std::optional<std::size_t> DiscoveryFrameOf(const bench::CapturedDatagram& datagram) {
    if (datagram.payload.size() < kFrameHeaderBytes) return std::nullopt;
    const std::uint32_t sequence = ByteReader(datagram.payload).Le32(kSequenceOffset);
    for (std::size_t f = 0; f < kDiscoveryFrames.size(); ++f) {
        if (ByteReader(kDiscoveryFrames[f]).Le32(kSequenceOffset) == sequence) return f;
    }
    return std::nullopt;
}

// The search's floor with the replies' arrival, from what the PC's interfaces carried.
Clock::duration ArrivalFloor(const ControllerLink& link,
                             const std::vector<bench::CapturedDatagram>& captured) {
    std::map<std::pair<std::size_t, std::uint16_t>, std::int64_t> sent;  // (frame, port) -> ns
    for (const auto& datagram : captured) {
        const auto frame = DiscoveryFrameOf(datagram);
        if (datagram.outgoing && datagram.destinationPort == kControllerPort && frame) {
            sent.emplace(std::pair(*frame, datagram.sourcePort), datagram.nanoseconds);
        }
    }
    std::set<std::uint32_t> found;
    Clock::duration floor{0};
    for (std::size_t f = 0; f < kDiscoveryFrames.size(); ++f) {
        for (std::size_t s = 0; s < link.InterfaceCount(); ++s) {
            if (found.size() >= ControllerTable::kCapacity) return floor;  // later collects end at once
            const std::uint16_t port = link.Interface(s).socket->LocalPort();
            const auto request = sent.find({f, port});
            std::vector<std::pair<Clock::duration, std::uint32_t>> replies;
            for (const auto& datagram : captured) {
                if (request == sent.end() || datagram.outgoing ||
                    datagram.sourcePort != kControllerPort || datagram.destinationPort != port ||
                    DiscoveryFrameOf(datagram) != f) {
                    continue;
                }
                replies.emplace_back(std::chrono::nanoseconds(datagram.nanoseconds - request->second),
                                     ByteReader(datagram.payload).Le32(kSourceSerialOffset));
            }
            floor += IdealCollect(std::move(replies), found);
        }
    }
    return floor;
}

struct SearchFigures {
    double wall = 0, cpu = 0, protocolFloor = 0, arrivalFloor = 0;
    std::size_t found = 0;
};

SearchFigures MeasureSearches(ControllerLink& link, bench::PacketCapture& capture, int runs) {
    std::vector<double> wall, cpu, arrival;
    SearchFigures figures;
    for (int run = 0; run < runs; ++run) {
        // A search that filled its table still sends its last frames and leaves: the
        // simulator answers them after it. Its backlog must not delay the next search.
        std::this_thread::sleep_for(kSettle);
        capture.Take();
        const double cpuBefore = ThreadCpuSeconds();
        const auto start = Clock::now();
        SearchControllers(link);
        wall.push_back(Seconds(Clock::now() - start).count());
        cpu.push_back(ThreadCpuSeconds() - cpuBefore);
        arrival.push_back(Seconds(ArrivalFloor(link, capture.Take())).count());
        figures.found = link.Table().count;
    }
    figures.wall = Median(wall);
    figures.cpu = Median(cpu);
    figures.arrivalFloor = Median(arrival);
    figures.protocolFloor =
        Seconds(kDiscoveryFrames.size() * link.InterfaceCount() * kCollectQuietWaits * kSlice).count();
    return figures;
}

struct ExchangeFigures {
    double wall = 0, floor = 0, replyFloor = 0;
};

// ReadNetworkParameters to the first controller found, through its interface.
ExchangeFigures MeasureExchanges(ControllerLink& link, bench::PacketCapture& capture, int runs) {
    std::vector<double> wall, replyFloor;
    const ControllerRecord record = link.Table().records[0];
    for (int run = 0; run < runs; ++run) {
        std::this_thread::sleep_for(kSettle);
        capture.Take();
        const auto start = Clock::now();
        const CommandReply reply = link.ReadNetworkParameters(record.hostAddress, record.serial);
        const auto end = Clock::now();
        std::optional<std::int64_t> sentAt, answeredAt;
        for (const auto& datagram : capture.Take()) {
            if (datagram.outgoing && datagram.destinationPort == kControllerPort) sentAt = datagram.nanoseconds;
            if (!datagram.outgoing && datagram.sourcePort == kControllerPort && sentAt && !answeredAt) {
                answeredAt = datagram.nanoseconds;
            }
        }
        if (reply != CommandReply::Answered || !sentAt || !answeredAt) {
            std::fprintf(stderr, "search_bench: the exchange got no reply\n");
            continue;
        }
        wall.push_back(Seconds(end - start).count());
        replyFloor.push_back(
            Seconds(kDrainQuietSlices * kSlice + std::chrono::nanoseconds(*answeredAt - *sentAt)).count());
    }
    if (wall.empty()) return {};
    return {Median(wall), Seconds(kDrainQuietSlices * kSlice).count(), Median(replyFloor)};
}

}  // namespace
}  // namespace lumaro

int main(int argc, char** argv) {
    using namespace lumaro;
    const std::size_t controllers = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
    const int runs = std::max(argc > 2 ? std::atoi(argv[2]) : 5, 1);

    const auto options = sim::Simulator::OptionsFromLab();
    if (!options) {
        std::fprintf(stderr, "search_bench: run me inside a test LAN (scripts/bench.sh)\n");
        return 2;
    }
    std::string error;
    auto lan = sim::Simulator::Start(
        *options,
        // Clear of the PC's addresses 10.0.1.1-10.0.4.1.
        sim::Simulator::Sequential(controllers, 1, MakeIpv4(10, 0, 100, 1), MakeIpv4(255, 255, 0, 0)),
        &error);
    if (!lan) {
        std::fprintf(stderr, "search_bench: simulator: %s\n", error.c_str());
        return 1;
    }

    auto capture = bench::PacketCapture::Open();
    if (!capture) {
        std::fprintf(stderr, "search_bench: cannot capture packets (root in the lab's PC namespace?)\n");
        return 1;
    }
    ControllerLink link;
    SearchControllers(link);  // warm-up: the controllers learn the PC's MAC
    const SearchFigures search = MeasureSearches(link, *capture, runs);
    std::printf("sockets %zu  controllers %zu (found %zu)  runs %d\n", link.InterfaceCount(),
                controllers, search.found, runs);
    std::printf("  search wall median %.3f s\n", search.wall);
    std::printf("  protocol floor %.3f s  ratio %.3f\n", search.protocolFloor,
                search.wall / search.protocolFloor);
    std::printf("  floor with the replies' arrival %.3f s  ratio %.3f\n", search.arrivalFloor,
                search.wall / search.arrivalFloor);
    std::printf("  cpu per search %.1f ms\n", 1000 * search.cpu);

    ExchangeFigures exchange;
    if (search.found > 0) {
        exchange = MeasureExchanges(link, *capture, std::max(runs / 2, 1));
        std::printf("  exchange wall median %.3f s  floor %.3f s  ratio %.3f  with the reply %.3f s  ratio %.3f\n",
                    exchange.wall, exchange.floor, exchange.floor > 0 ? exchange.wall / exchange.floor : 0,
                    exchange.replyFloor, exchange.replyFloor > 0 ? exchange.wall / exchange.replyFloor : 0);
    }
    // | interfaces | controllers | wall | protocol floor | ratio | arrival floor | ratio | CPU | exchange | ratio |
    std::printf("row | %zu | %zu | %.3f s | %.3f s | %.2f | %.3f s | %.3f | %.1f ms | %.3f s | %.3f |\n",
                link.InterfaceCount(), controllers, search.wall, search.protocolFloor,
                search.wall / search.protocolFloor, search.arrivalFloor,
                search.wall / search.arrivalFloor, 1000 * search.cpu, exchange.wall,
                exchange.replyFloor > 0 ? exchange.wall / exchange.replyFloor : 0.0);
    // A smoke run fails when the search or the exchange did not work at all, and says which.
    const std::size_t expected = std::min<std::size_t>(controllers, ControllerTable::kCapacity);
    bool complete = true;
    if (search.found != expected) {
        std::fprintf(stderr, "search_bench: the last search listed %zu controllers, not %zu\n",
                     search.found, expected);
        complete = false;
    }
    if (controllers > 0 && exchange.wall <= 0) {
        std::fprintf(stderr, "search_bench: no exchange got its reply\n");
        complete = false;
    }
    return complete ? 0 : 1;
}
