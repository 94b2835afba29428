#pragma once
// A fuzz target: a function that takes one datagram of any length (the fuzzer gives 0 to
// 2048 bytes), feeds it to code that reads bytes from the network and checks what must
// hold for any bytes. Declare it in a file of its own,
//
//   LUMARO_FUZZ_TARGET(refresh_record) {
//       ... `datagram` is a std::span<const std::uint8_t> ...
//       Require(condition, "what must hold");
//   }
//
// and list that file in fuzz/CMakeLists.txt (lumaro_fuzz_target). In the fuzz build
// (scripts/build.sh fuzz) the target is a libFuzzer program of its own, fuzz_<name>, with
// a short run as the test fuzz_smoke.<name>; in the normal build it joins
// fuzz_regression_tests, which runs it on every file of fuzz/testdata/<name>/: the seeds
// and every input that once failed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace lumaro::fuzz {

using FuzzInput = std::span<const std::uint8_t>;
using FuzzFunction = void (*)(FuzzInput);

// For the regression test: makes the target known under `name`. Returns true.
bool RegisterTarget(const char* name, FuzzFunction function);

// A finding: ends the run (the fuzzer keeps the input) when `holds` is false.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz target check failed: %s\n", what);
    std::abort();
}

}  // namespace lumaro::fuzz

#if defined(LUMARO_LIBFUZZER)
#define LUMARO_FUZZ_TARGET(name)                                                          \
    static void FuzzTarget_##name(::lumaro::fuzz::FuzzInput datagram);                    \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {   \
        FuzzTarget_##name(::lumaro::fuzz::FuzzInput(data, size));                         \
        return 0;                                                                         \
    }                                                                                     \
    static void FuzzTarget_##name(::lumaro::fuzz::FuzzInput datagram)
#else
#define LUMARO_FUZZ_TARGET(name)                                                          \
    static void FuzzTarget_##name(::lumaro::fuzz::FuzzInput datagram);                    \
    [[maybe_unused]] static const bool kRegistered_##name =                               \
        ::lumaro::fuzz::RegisterTarget(#name, FuzzTarget_##name);                         \
    static void FuzzTarget_##name(::lumaro::fuzz::FuzzInput datagram)
#endif
