// Writes the seed corpus of the fuzz targets from real frames: the simulator's answers to
// the link's requests, whole and cut short. Run by hand when the seeds should change:
//   build/linux/fuzz/make-fuzz-seeds fuzz/testdata
// (fuzz/testdata/README.md lists the files.)

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/scripted_link.h"
#include "link/discovery_frames.h"
#include "link/frame.h"
#include "link/masked_write.h"
#include "sim/controller_image.h"
#include "sim/controller_protocol.h"

namespace lumaro::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

sim::ControllerState Controller(bool dhcp, std::uint16_t webPort) {
    sim::ControllerState state;
    state.spec.serial = kFuzzSerial;
    state.spec.mac = sim::Simulator::DefaultMac(kFuzzSerial);
    state.spec.variantCode = 5;
    state.spec.ip = MakeIpv4(10, 0, 1, 42);
    state.spec.mask = MakeIpv4(255, 255, 255, 0);
    state.spec.gateway = MakeIpv4(10, 0, 1, 254);
    state.spec.webPort = webPort;
    state.spec.dhcp = dhcp;
    state.spec.dhcpIp = MakeIpv4(10, 0, 1, 77);
    state.spec.dhcpMask = MakeIpv4(255, 255, 0, 0);
    state.spec.dhcpGateway = MakeIpv4(10, 0, 1, 1);
    state.image = sim::InitialImage(state.spec);
    return state;
}

// A request as the link composes it, with the fuzz targets' sequence and serial.
Bytes Request(const FrameKind& kind, std::uint32_t sequence = kFuzzSequence) {
    TransmitBuffer buffer{};
    if (kind.group == kWriteSettingsFrame.group) LaySettingsGroup(buffer, 80, 0, 0);
    WriteFrameHeader(buffer, kind.length, kind.group, kind.code, kFuzzSerial, sequence, 5);
    return Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(kind.length));
}

Bytes Answer(sim::ControllerState controller, const Bytes& request) {
    auto answer = sim::AnswerFrame(controller, request);
    return answer ? *answer : Bytes{};
}

Bytes Cut(Bytes bytes, std::size_t length) {
    bytes.resize(std::min(length, bytes.size()));
    return bytes;
}

bool Write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
    return static_cast<bool>(out);
}

}  // namespace
}  // namespace lumaro::fuzz

int main(int argc, char** argv) {
    using namespace lumaro;
    using namespace lumaro::fuzz;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds TESTDATA_FOLDER\n");
        return 2;
    }
    const std::filesystem::path top = argv[1];
    const Bytes discovery(kDiscoveryFrames[0].begin(), kDiscoveryFrames[0].end());
    const Bytes fixedReply = Answer(Controller(false, 80), discovery);
    const Bytes dhcpReply = Answer(Controller(true, 80), discovery);
    const Bytes webOffReply = Answer(Controller(false, 0), discovery);
    const Bytes probeAck = Answer(Controller(false, 80), Request(kProbeControllerFrame));

    const auto collect = top / "collect_replies";
    bool ok = Write(collect, "network-reply-fixed.bin", fixedReply) &&
              Write(collect, "network-reply-dhcp.bin", dhcpReply) &&
              Write(collect, "network-reply-web-off.bin", webOffReply) &&
              Write(collect, "network-reply-cut-3.bin", Cut(fixedReply, 3)) &&
              Write(collect, "network-reply-cut-4.bin", Cut(fixedReply, 4)) &&
              Write(collect, "network-reply-cut-151.bin", Cut(dhcpReply, 151)) &&
              Write(collect, "network-reply-cut-485.bin", Cut(fixedReply, 485)) &&
              Write(collect, "network-reply-cut-486.bin", Cut(fixedReply, 486)) &&
              Write(collect, "acknowledge-probe.bin", probeAck) &&
              Write(collect, "discovery-frame.bin", discovery);

    // Answers that are never a network reply, for every target that sends commands.
    const std::vector<std::pair<const char*, Bytes>> acknowledgements{
        {"acknowledge-write.bin", Answer(Controller(false, 80), Request(kWriteSettingsFrame))},
        {"acknowledge-clock.bin", Answer(Controller(false, 80), Request(kSetControllerClockFrame))},
        {"acknowledge-restart.bin", Answer(Controller(false, 80), Request(kRestartControllerFrame))},
        {"acknowledge-probe.bin", probeAck},
        {"acknowledge-cut-19.bin", Cut(probeAck, 19)},
        {"acknowledge-cut-20.bin", Cut(probeAck, 20)},
        {"empty.bin", {}},
    };
    // The read's answer with the request's sequence, and with the sequence before.
    const auto writeReadReplies = [&](const std::filesystem::path& folder, const char* matchingName,
                                      std::uint32_t sequence) {
        bool written =
            Write(folder, matchingName,
                  Answer(Controller(true, 80), Request(kReadNetworkParametersFrame, sequence))) &&
            Write(folder, "network-reply-other-sequence.bin",
                  Answer(Controller(false, 80), Request(kReadNetworkParametersFrame, sequence - 1)));
        for (const auto& [name, bytes] : acknowledgements) written = written && Write(folder, name, bytes);
        return written;
    };
    ok = ok && writeReadReplies(top / "exchange_reply", "network-reply-matching.bin", kFuzzSequence);
    // The one-click procedure's read carries the sequence that the scripted clock seeds.
    const auto seeded = static_cast<std::uint32_t>(testing::kScriptedSecondsSince1970);
    ok = ok &&
         writeReadReplies(top / "refresh_record", "network-reply-seeded-sequence.bin", seeded);
    // Answers of the read's sequence that end before a field the refresh reads, and just
    // after the last one: a failed read, and a refresh.
    const Bytes seededFixed =
        Answer(Controller(false, 80), Request(kReadNetworkParametersFrame, seeded));
    const Bytes seededDhcp =
        Answer(Controller(true, 80), Request(kReadNetworkParametersFrame, seeded));
    const auto refresh = top / "refresh_record";
    ok = ok && Write(refresh, "network-reply-seeded-cut-20.bin", Cut(seededFixed, 20)) &&
         Write(refresh, "network-reply-seeded-cut-150.bin", Cut(seededFixed, 150)) &&
         Write(refresh, "network-reply-seeded-cut-151.bin", Cut(seededFixed, 151)) &&
         Write(refresh, "network-reply-seeded-dhcp-cut-415.bin", Cut(seededDhcp, 415)) &&
         Write(refresh, "network-reply-seeded-dhcp-cut-416.bin", Cut(seededDhcp, 416));
    return ok ? 0 : 1;
}
