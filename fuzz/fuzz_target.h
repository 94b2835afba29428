#pragma once
// A fuzz target: a function that takes one datagram of any length (the fuzzer gives 0 to
// 2048 bytes), feeds it to code that reads bytes from the network and checks what must
// hold for any bytes. A target for a procedure that refreshes a record from the answer to
// ReadNetworkParameters, in a file of its own (fuzz/refresh_record_fuzz.cpp):
//
//   LUMARO_FUZZ_TARGET(refresh_record) {       // `datagram`: std::span<const std::uint8_t>
//       lumaro::fuzz::LinkOnScriptedLan lan;   // fuzz/scripted_link.h: no real socket
//       lan.AnswerCommandsWith(datagram);      // the datagram answers every command
//       lumaro::ControllerRecord record = ...;
//       if (lan.Link().ReadNetworkParameters(kFuzzHost, kFuzzSerial) == CommandReply::Answered) {
//           RefreshRecord(record, lan.Link().ReceivedReply());
//       }
//       Require(record.serial == ..., "what must hold for any answer");
//   }
//
// listed in fuzz/CMakeLists.txt,
//
//   lumaro_fuzz_target(refresh_record SOURCES refresh_record_fuzz.cpp LIBS lumaro_workflow)
//
// with its seeds in fuzz/testdata/refresh_record/ (make_seeds.cpp writes them from the
// simulator's real answers). In the fuzz build
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
