// Handing the page address to the browser on Linux: xdg-open gets it, and the call does not
// wait for the browser.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/shell/browser.h"

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
        // Records its argument, then stays open as a browser does: until the test lets it go
        // (or 20 s have passed), and says when it has ended.
        const std::string opened = Recorded().string(), release = Path("release"),
                          ended = Path("ended");
        std::ofstream(opener) << "#!/bin/sh\nexec >/dev/null 2>&1\n"
                              << "printf '%s' \"$1\" > '" << opened << ".tmp'\n"
                              << "mv '" << opened << ".tmp' '" << opened << "'\n"
                              << "for i in $(seq 200); do [ -e '" << release
                              << "' ] && break; sleep 0.1; done\n"
                              << "touch '" << ended << "'\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder_.string() + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path Recorded() const { return folder_ / "opened"; }
    std::string Path(const char* name) const { return (folder_ / name).string(); }
    static bool AppearsSoon(const std::filesystem::path& file) {
        for (int i = 0; i < 3000 && !std::filesystem::exists(file); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return std::filesystem::exists(file);
    }

    std::filesystem::path folder_;
    std::string oldPath_;
};

TEST_F(FakeBrowser, GetsThePageAddressWithoutBeingWaitedFor) {
    EXPECT_TRUE(platform::OpenInBrowser("HTTP://10.0.1.123"));
    EXPECT_FALSE(std::filesystem::exists(Path("ended"))) << "the call waited for the browser";
    ASSERT_TRUE(AppearsSoon(Recorded()));
    std::string opened;
    std::getline(std::ifstream(Recorded()), opened);
    EXPECT_EQ(opened, "HTTP://10.0.1.123");
    std::ofstream(Path("release")).flush();
    EXPECT_TRUE(AppearsSoon(Path("ended")));
}

// Nothing is left for this process to reap, and a process that ignores SIGCHLD (where the
// system reaps children itself and waiting for one fails) does not wait for ever.
TEST_F(FakeBrowser, LeavesNoChildBehind) {
    ASSERT_TRUE(platform::OpenInBrowser("HTTP://10.0.1.124"));
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child of ours is still there";
    EXPECT_EQ(errno, ECHILD);
    ASSERT_TRUE(AppearsSoon(Recorded()));
    std::ofstream(Path("release")).flush();
    EXPECT_TRUE(AppearsSoon(Path("ended")));
}

TEST_F(FakeBrowser, StartsItWhereTheSystemReapsChildren) {
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    const bool started = platform::OpenInBrowser("HTTP://10.0.1.125");
    std::signal(SIGCHLD, previous);
    EXPECT_TRUE(started);
    ASSERT_TRUE(AppearsSoon(Recorded()));
    std::ofstream(Path("release")).flush();
    EXPECT_TRUE(AppearsSoon(Path("ended")));
}

TEST(NoBrowser, WithoutXdgOpenNothingIsStarted) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(platform::OpenInBrowser("HTTP://10.0.1.123"));
    setenv("PATH", oldPath.c_str(), 1);
}

}  // namespace
}  // namespace lumaro
