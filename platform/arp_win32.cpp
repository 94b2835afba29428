// ARP on Windows: the system's SendARP. Where the system does not support it (Wine answers
// ERROR_NOT_SUPPORTED), the system's neighbour table, after making the system resolve.

#include <winsock2.h>
#include <iphlpapi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/arp.h"
#include "platform/socket_layer.h"
#include "platform/socket_owner_win32.h"

namespace lumaro::platform {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kNeighbourPollInterval = 20ms;
constexpr u_short kDiscardPort = 9;

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// A table that the IP helper fills: asks for the size first, then reads.
template <class Table, class Read>
std::unique_ptr<Table, FreeDeleter> ReadTable(Read read) {
    ULONG bytes = 0;
    read(nullptr, &bytes);
    for (int attempt = 0; attempt < 3; ++attempt) {
        bytes += 16 * sizeof(MIB_IPNETROW);  // room for rows that appear meanwhile
        std::unique_ptr<Table, FreeDeleter> table(static_cast<Table*>(std::malloc(bytes)));
        if (!table) return nullptr;
        const DWORD result = read(table.get(), &bytes);
        if (result == NO_ERROR) return table;
        if (result != ERROR_INSUFFICIENT_BUFFER) return nullptr;
    }
    return nullptr;
}

// The interface index that carries `address`, if any.
std::optional<DWORD> InterfaceIndexOf(Ipv4Address address) {
    const auto table = ReadTable<MIB_IPADDRTABLE>(
        [](MIB_IPADDRTABLE* t, ULONG* bytes) { return GetIpAddrTable(t, bytes, FALSE); });
    if (!table) return std::nullopt;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        if (table->table[i].dwAddr == address) return table->table[i].dwIndex;
    }
    return std::nullopt;
}

std::optional<HardwareAddress> HardwareAddressOfInterface(DWORD index) {
    MIB_IFROW row{};
    row.dwIndex = index;
    if (GetIfEntry(&row) != NO_ERROR || row.dwPhysAddrLen != 6) return std::nullopt;
    HardwareAddress address;
    std::copy_n(row.bPhysAddr, address.size(), address.begin());
    return address;
}

// The hardware address that the neighbour table holds for `target` on the interface; an
// all-zero one (an unanswered entry) or no entry gives nothing.
std::optional<HardwareAddress> NeighbourEntry(Ipv4Address target, DWORD index) {
    const auto table = ReadTable<MIB_IPNETTABLE>(
        [](MIB_IPNETTABLE* t, ULONG* bytes) { return GetIpNetTable(t, bytes, FALSE); });
    if (!table) return std::nullopt;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IPNETROW& row = table->table[i];
        if (row.dwAddr != target || row.dwIndex != index || row.dwPhysAddrLen != 6 ||
            row.dwType == MIB_IPNET_TYPE_INVALID) {
            continue;
        }
        HardwareAddress address;
        std::copy_n(row.bPhysAddr, address.size(), address.begin());
        if (std::any_of(address.begin(), address.end(), [](std::uint8_t b) { return b != 0; })) {
            return address;
        }
    }
    return std::nullopt;
}

// One datagram to the target's discard port makes the system resolve its address.
void SendPrompt(Ipv4Address target, Ipv4Address source) {
    const SocketOwner udp(socket(AF_INET, SOCK_DGRAM, 0));
    if (!udp.Valid()) return;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = source;
    if (bind(udp.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return;
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(kDiscardPort);
    remote.sin_addr.s_addr = target;
    sendto(udp.Get(), "", 0, 0, reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
}

void PromptResolution(Ipv4Address target, Ipv4Address source) {
    if (!StartSocketLayer(2, 2).succeeded) return;
    SendPrompt(target, source);  // its socket closed before the layer is released
    StopSocketLayer();
}

}  // namespace

std::optional<HardwareAddress> ResolveThroughNeighbourTable(Ipv4Address target,
                                                            Ipv4Address source) {
    const auto index = InterfaceIndexOf(source);
    if (!index) return std::nullopt;
    if (const auto own = InterfaceIndexOf(target)) return HardwareAddressOfInterface(*own);

    // The table shows no age: an entry that had an address before this request may be an
    // old answer. The system checks such an entry again once it is used, and drops its
    // address when nobody answers; so it counts only when it keeps an address for the
    // whole re-check, or changes to a new one. An entry without an address counts as soon
    // as the system fills it in.
    const auto before = NeighbourEntry(target, *index);
    const auto start = Clock::now();
    PromptResolution(target, source);
    for (;;) {
        std::this_thread::sleep_for(kNeighbourPollInterval);
        const auto now = NeighbourEntry(target, *index);
        const auto elapsed = Clock::now() - start;
        if (!before) {
            if (now) return now;
            if (elapsed >= kArpWait) return std::nullopt;
            continue;
        }
        if (!now) return std::nullopt;            // the re-check found nobody
        if (*now != *before) return now;          // somebody else answers now
        if (elapsed >= kNeighbourRecheckWait) return now;
    }
}

std::optional<HardwareAddress> RequestHardwareAddress(Ipv4Address target, Ipv4Address source) {
    ULONG buffer[2] = {};
    ULONG length = 6;
    const DWORD result = SendARP(target, source, buffer, &length);
    if (result == ERROR_NOT_SUPPORTED) return ResolveThroughNeighbourTable(target, source);
    if (result != NO_ERROR || length < 6) return std::nullopt;
    HardwareAddress address;
    std::copy_n(reinterpret_cast<const std::uint8_t*>(buffer), address.size(), address.begin());
    return address;
}

}  // namespace lumaro::platform
