// ARP on Windows: the system's SendARP. Where the system does not support it (Wine answers
// ERROR_NOT_SUPPORTED), the system's neighbour table, after making the system resolve
// (NeighbourWatch reads the answer out of it).

#include <winsock2.h>
#include <iphlpapi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/arp/arp.h"
#include "platform/arp/neighbour_watch.h"
#include "platform/arp/windows_send_arp_result.h"

namespace lumaro::platform {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kNeighbourPollInterval = 20ms;

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
        if (result == ERROR_NO_DATA) {  // an empty table (both tables start with their count)
            std::fill_n(reinterpret_cast<unsigned char*>(table.get()), sizeof(Table), 0);
            return table;
        }
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

// The hardware address that the neighbour table holds for `target` on the interface, where
// an all-zero one (an unanswered entry) or no entry is an empty one; nothing at all when the
// table cannot be read.
std::optional<std::optional<HardwareAddress>> NeighbourEntry(Ipv4Address target, DWORD index) {
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
            return std::optional<HardwareAddress>(address);
        }
    }
    return std::optional<HardwareAddress>();
}

}  // namespace

static_assert(kSendArpAnswered == NO_ERROR && kSendArpGenFailure == ERROR_GEN_FAILURE &&
              kSendArpNotSupported == ERROR_NOT_SUPPORTED &&
              kSendArpBadNetName == ERROR_BAD_NET_NAME && kSendArpNotFound == ERROR_NOT_FOUND);

ArpResult ResolveThroughNeighbourTable(Ipv4Address target, Ipv4Address source) {
    const auto index = InterfaceIndexOf(source);
    if (!index) return ArpResult::CouldNotAsk();
    if (const auto own = InterfaceIndexOf(target)) {
        if (const auto mac = HardwareAddressOfInterface(*own)) return ArpResult::AnsweredBy(*mac);
        return ArpResult::CouldNotAsk();
    }

    const auto before = NeighbourEntry(target, *index);
    if (!before) return ArpResult::CouldNotAsk();
    const NeighbourWatch watch(*before);
    const auto start = Clock::now();
    if (!PromptResolution(target, source)) return ArpResult::CouldNotAsk();
    for (;;) {
        std::this_thread::sleep_for(kNeighbourPollInterval);
        const auto now = NeighbourEntry(target, *index);
        if (!now) return ArpResult::CouldNotAsk();
        if (const auto result = watch.Reading(*now, Clock::now() - start)) return *result;
    }
}

ArpResult RequestHardwareAddress(Ipv4Address target, Ipv4Address source) {
    HardwareAddress buffer{};
    ULONG words[2] = {};  // SendARP writes whole ULONGs
    ULONG length = 6;
    const DWORD result = SendARP(target, source, words, &length);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(words), buffer.size(), buffer.begin());
    if (const auto known = ArpResultOfSendArp(result, length, buffer)) return *known;
    return ResolveThroughNeighbourTable(target, source);
}

}  // namespace lumaro::platform
