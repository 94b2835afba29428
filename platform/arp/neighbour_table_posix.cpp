#include "platform/arp/neighbour_table_posix.h"
#include "platform/net/descriptor_posix.h"

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace lumaro::platform {

namespace {

NeighbourState StateOf(std::uint16_t nud) {
    if (nud & (NUD_REACHABLE | NUD_PERMANENT | NUD_NOARP)) return NeighbourState::Confirmed;
    if (nud & (NUD_DELAY | NUD_PROBE)) return NeighbourState::Rechecking;
    if (nud & NUD_STALE) return NeighbourState::Stale;
    if (nud & NUD_FAILED) return NeighbourState::Unanswered;
    return NeighbourState::Resolving;
}

enum class Batch { More, Done, Failed };

// Looks through one batch of dump messages: whether the dump ended in it, or failed.
Batch ScanBatch(const std::uint8_t* data, std::size_t size, Ipv4Address address,
               int interfaceIndex, std::optional<NeighbourEntry>& found) {
    for (auto* header = reinterpret_cast<const nlmsghdr*>(data);
         NLMSG_OK(header, static_cast<unsigned>(size)); header = NLMSG_NEXT(header, size)) {
        if (header->nlmsg_type == NLMSG_DONE) return Batch::Done;
        if (header->nlmsg_type == NLMSG_ERROR) return Batch::Failed;
        if (header->nlmsg_type != RTM_NEWNEIGH) continue;
        const auto* message = static_cast<const ndmsg*>(NLMSG_DATA(header));
        if (message->ndm_family != AF_INET || message->ndm_ifindex != interfaceIndex) continue;
        int length = static_cast<int>(header->nlmsg_len) - NLMSG_LENGTH(sizeof(ndmsg));
        std::optional<Ipv4Address> destination;
        std::optional<HardwareAddress> hardware;
        for (auto* attribute = reinterpret_cast<const rtattr*>(
                 reinterpret_cast<const std::uint8_t*>(message) + NLMSG_ALIGN(sizeof(ndmsg)));
             RTA_OK(attribute, length); attribute = RTA_NEXT(attribute, length)) {
            const auto* value = static_cast<const std::uint8_t*>(RTA_DATA(attribute));
            const std::size_t bytes = RTA_PAYLOAD(attribute);
            if (attribute->rta_type == NDA_DST && bytes == sizeof(Ipv4Address)) {
                Ipv4Address dst;
                std::memcpy(&dst, value, sizeof dst);
                destination = dst;
            } else if (attribute->rta_type == NDA_LLADDR && bytes == 6) {
                HardwareAddress mac;
                std::copy_n(value, mac.size(), mac.begin());
                hardware = mac;
            }
        }
        if (destination == address) {
            found = NeighbourEntry{StateOf(message->ndm_state), hardware};
        }
    }
    return Batch::More;
}

}  // namespace

NeighbourReading ReadNeighbourEntry(Ipv4Address address, int interfaceIndex) {
    const Descriptor netlink(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!netlink.Valid()) return {};

    struct {
        nlmsghdr header;
        ndmsg body;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.body.ndm_family = AF_INET;
    if (send(netlink.Get(), &request, sizeof request, 0) != static_cast<ssize_t>(sizeof request)) {
        return {};
    }

    NeighbourReading reading;
    alignas(nlmsghdr) std::array<std::uint8_t, 32768> batch;
    for (;;) {
        const ssize_t received = recv(netlink.Get(), batch.data(), batch.size(), 0);
        if (received <= 0) return {};
        switch (ScanBatch(batch.data(), static_cast<std::size_t>(received), address,
                          interfaceIndex, reading.entry)) {
            case Batch::More: continue;
            case Batch::Done: reading.tableRead = true; return reading;
            case Batch::Failed: return {};
        }
    }
}

}  // namespace lumaro::platform
