#include <winsock2.h>
#include <iphlpapi.h>

#include <cstdlib>
#include <memory>

#include "platform/net/local_addresses.h"

namespace lumaro::platform {

namespace {

// Room for the row count alone; the first call only asks the system how much it needs.
constexpr ULONG kFirstGuessBytes = 28;

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};
using TableBuffer = std::unique_ptr<MIB_IPADDRTABLE, FreeDeleter>;

TableBuffer Allocate(ULONG bytes) {
    return TableBuffer(static_cast<MIB_IPADDRTABLE*>(std::malloc(bytes)));
}

}  // namespace

std::optional<std::vector<LocalAddress>> ReadLocalAddressTable() {
    TableBuffer table = Allocate(kFirstGuessBytes);
    if (!table) return std::nullopt;
    ULONG bufferBytes = kFirstGuessBytes;

    ULONG statedBytes = 0;
    if (GetIpAddrTable(table.get(), &statedBytes, FALSE) == ERROR_INSUFFICIENT_BUFFER) {
        table = Allocate(statedBytes);
        if (!table) return std::nullopt;
        bufferBytes = statedBytes;
    }
    if (GetIpAddrTable(table.get(), &bufferBytes, FALSE) != NO_ERROR) return std::nullopt;

    std::vector<LocalAddress> rows;
    rows.reserve(table->dwNumEntries);
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        // dwAddr and dwMask are in network order: the first octet is the lowest byte.
        rows.push_back(LocalAddress{table->table[i].dwAddr, table->table[i].dwMask});
    }
    return rows;
}

}  // namespace lumaro::platform
