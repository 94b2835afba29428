// Handing the page address to the browser on Linux: xdg-open gets it, and the call does not
// wait for the browser.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/browser.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;

class FakeBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("lumaro-browser-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        const auto opener = folder_ / "xdg-open";
        // Records its argument, then lingers as a browser would.
        std::ofstream(opener) << "#!/bin/sh\nexec >/dev/null 2>&1\nprintf '%s' \"$1\" > '" << Recorded().string()
                              << ".tmp'\nmv '" << Recorded().string() << ".tmp' '"
                              << Recorded().string() << "'\nsleep 5\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder_.string() + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path Recorded() const { return folder_ / "opened"; }

    std::filesystem::path folder_;
    std::string oldPath_;
};

TEST_F(FakeBrowser, GetsThePageAddressWithoutBeingWaitedFor) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(platform::OpenInBrowser("HTTP://10.0.1.123"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s) << "xdg-open lingers for 5 s";
    for (int i = 0; i < 500 && !std::filesystem::exists(Recorded()); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    std::string opened;
    std::getline(std::ifstream(Recorded()), opened);
    EXPECT_EQ(opened, "HTTP://10.0.1.123");
}

TEST(NoBrowser, WithoutXdgOpenNothingIsStarted) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(platform::OpenInBrowser("HTTP://10.0.1.123"));
    setenv("PATH", oldPath.c_str(), 1);
}

}  // namespace
}  // namespace lumaro
