// Whatever a LAN sends back: random datagrams of every length through the decoders that
// read network bytes. Run under AddressSanitizer, a read past the datagram fails here.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "link/controller_record.h"
#include "link/frame.h"

namespace lumaro {
namespace {

TEST(ReplyFuzz, DecodersReadOnlyTheBytesThatArrived) {
    std::mt19937 random(20701);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 600);
    for (int round = 0; round < 20000; ++round) {
        // Exactly-sized heap allocation, so that AddressSanitizer sees any over-read.
        std::vector<std::uint8_t> datagram(length(random));
        for (auto& b : datagram) b = static_cast<std::uint8_t>(byte(random));
        if (datagram.size() >= 2 && round % 2 == 0) {
            datagram[0] = 0x24;  // half of them pass the kind test
            datagram[1] = 0x11;
        }
        const auto record = DecodeDiscoveryReply(datagram);
        const bool accepted = datagram.size() >= 4 && datagram[0] == 0x24 && datagram[1] == 0x11;
        ASSERT_EQ(record.has_value(), accepted) << "length " << datagram.size();
        if (record && datagram.size() <= 484) {
            // The web port lies beyond what arrived: it reads as zero.
            EXPECT_EQ(record->webPort, 0u) << "length " << datagram.size();
        }
        SequenceMatches(static_cast<std::uint32_t>(round), datagram);
        ComputeChecksum(datagram);
    }
}

}  // namespace
}  // namespace lumaro
