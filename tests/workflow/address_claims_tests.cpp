// The addresses held for controllers while several procedures run: who holds what, a
// release by a controller that does not hold the address, and many claiming one address
// at once.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "workflow/address_claims.h"

namespace lumaro {
namespace {

const Ipv4Address kFree = MakeIpv4(10, 0, 1, 123);

TEST(AddressClaims, AnAddressStaysWithTheFirstControllerThatClaimsIt) {
    AddressClaims claims;
    EXPECT_TRUE(claims.Claim(kFree, 1));
    EXPECT_TRUE(claims.Claim(kFree, 1)) << "its holder may claim it again";
    EXPECT_FALSE(claims.Claim(kFree, 2));
    EXPECT_FALSE(claims.Claim(kFree, 3));
    EXPECT_TRUE(claims.Claim(kFree, 1)) << "still its first holder's";
    EXPECT_TRUE(claims.Claim(MakeIpv4(10, 0, 1, 124), 2)) << "another address is free";
}

TEST(AddressClaims, OnlyItsHolderGivesAnAddressBack) {
    AddressClaims claims;
    ASSERT_TRUE(claims.Claim(kFree, 1));
    claims.Release(kFree, 2);
    EXPECT_FALSE(claims.Claim(kFree, 2)) << "a release by another controller changes nothing";
    claims.Release(kFree, 1);
    EXPECT_TRUE(claims.Claim(kFree, 2)) << "given back by its holder, it is free again";
    EXPECT_FALSE(claims.Claim(kFree, 1));
}

TEST(AddressClaims, OfManyClaimingOneAddressAtOnceExactlyOneGetsIt) {
    AddressClaims claims;
    std::atomic<int> winners{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (std::uint32_t serial = 1; serial <= 16; ++serial) {
        threads.emplace_back([&, serial] {
            while (!go) std::this_thread::yield();
            if (claims.Claim(kFree, serial)) ++winners;
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(winners, 1);
    EXPECT_FALSE(claims.Claim(kFree, 17)) << "held by the winner";
}

}  // namespace
}  // namespace lumaro
