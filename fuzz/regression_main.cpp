// The fuzz targets on every kept input: the seeds and the inputs that once failed
// (fuzz/testdata/<target>/). A target that finds a fault aborts with its message after the
// name of the file has been printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace lumaro::fuzz {

namespace {

std::map<std::string, FuzzFunction>& Targets() {
    static std::map<std::string, FuzzFunction> targets;
    return targets;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressions, EveryTargetPassesEveryKeptInput) {
    ASSERT_FALSE(Targets().empty());
    for (const auto& [name, target] : Targets()) {
        const std::filesystem::path folder = std::filesystem::path(LUMARO_FUZZ_TESTDATA) / name;
        ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder << " holds no seeds";
        std::vector<std::filesystem::path> inputs;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
        std::sort(inputs.begin(), inputs.end());
        EXPECT_FALSE(inputs.empty()) << folder << " holds no seeds";
        for (const auto& input : inputs) {
            std::printf("%s: %s\n", name.c_str(), input.filename().c_str());
            std::fflush(stdout);
            const auto bytes = ReadFile(input);
            target(bytes);
        }
    }
}

}  // namespace

bool RegisterTarget(const char* name, FuzzFunction function) {
    Targets()[name] = function;
    return true;
}

}  // namespace lumaro::fuzz
