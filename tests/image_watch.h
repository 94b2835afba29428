#pragma once
// The data-safety check on the simulated LAN in the test's own process: a snapshot of
// every controller's parameter image before an operation, compared after it.
//
//   const ImageWatch watch(*lan);
//   link.WriteSettings(host, serial);                 // or any operation of any front end
//   ASSERT_TRUE(AwaitFrameLogged(*lan, frame, receivers));
//   EXPECT_TRUE(watch.ChangedOnly({{serial, written_by::SettingsGroup()}}));

#include <gtest/gtest.h>

#include <chrono>
#include <span>
#include <thread>
#include <vector>

#include "sim/simulator.h"
#include "tests/controller_images.h"

namespace lumaro::testing {

class ImageWatch {
public:
    explicit ImageWatch(const sim::Simulator& lan) : lan_(lan), before_(lan.Images()) {}

    ::testing::AssertionResult ChangedOnly(const AllowedChanges& allowed) const {
        const auto problems = UnexpectedChanges(before_, lan_.Images(), allowed);
        if (problems.empty()) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        for (const std::string& problem : problems) failure << problem << "\n";
        return failure;
    }
    ::testing::AssertionResult NothingChanged() const { return ChangedOnly({}); }

private:
    const sim::Simulator& lan_;
    ControllerImages before_;
};

// A controller changes its image before it logs the frame, so once every receiver has
// logged `frame` the images are final. Waits up to 5 s for `receivers` (serials, with
// repeats when one controller is to get the frame several times) to have logged it.
inline bool AwaitFrameLogged(const sim::Simulator& lan, std::span<const std::uint8_t> frame,
                             const std::vector<std::uint32_t>& receivers) {
    using namespace std::chrono_literals;
    const auto giveUpAt = std::chrono::steady_clock::now() + 5s;
    for (;;) {
        std::map<std::uint32_t, std::size_t> missing;
        for (std::uint32_t serial : receivers) ++missing[serial];
        for (const sim::ReceivedFrame& logged : lan.Log()) {
            auto entry = missing.find(logged.controllerSerial);
            if (entry != missing.end() && entry->second > 0 &&
                std::equal(logged.bytes.begin(), logged.bytes.end(), frame.begin(), frame.end())) {
                --entry->second;
            }
        }
        bool all = true;
        for (const auto& [serial, count] : missing) all = all && count == 0;
        if (all) return true;
        if (std::chrono::steady_clock::now() >= giveUpAt) return false;
        std::this_thread::sleep_for(5ms);
    }
}

}  // namespace lumaro::testing
