#include "sim/spray.h"

#include <algorithm>

#include "link/byte_io.h"
#include "link/frame.h"

namespace lumaro::sim {
namespace {

// The PC opens new sockets with every search: only its latest ports are worth aiming at.
constexpr std::size_t kEndpointsKept = 8;
// At most this many datagrams leave at once after the service thread was held up.
constexpr std::size_t kLargestBurst = 64;

}  // namespace

Sprayer::Sprayer(SprayOptions options, std::vector<std::uint32_t> listedSerials,
                 std::size_t senders, Clock::time_point start)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
              std::max(1u, options.perSecond)),
      listedSerials_(std::move(listedSerials)),
      senders_(senders),
      random_(options.seed),
      nextDue_(start) {}

void Sprayer::Learn(Ipv4Address source, std::uint16_t port) {
    // Port 60000 is the controllers' own: the spray never aims at a controller.
    if (source == 0 || port == 0 || port == kControllerPort) return;
    const Endpoint endpoint{source, port};
    std::erase(endpoints_, endpoint);
    endpoints_.push_front(endpoint);
    if (endpoints_.size() > kEndpointsKept) endpoints_.pop_back();
}

std::optional<Sprayer::Clock::time_point> Sprayer::NextDue() const {
    if (endpoints_.empty() || senders_ == 0) return std::nullopt;
    return nextDue_;
}

std::vector<SprayShot> Sprayer::TakeDue(Clock::time_point now) {
    std::vector<SprayShot> shots;
    if (!NextDue()) {
        nextDue_ = std::max(nextDue_, now);
        return shots;
    }
    while (nextDue_ <= now && shots.size() < kLargestBurst) {
        shots.push_back(Next());
        nextDue_ += period_;
    }
    if (nextDue_ <= now) nextDue_ = now + period_;
    return shots;
}

SprayShot Sprayer::Next() {
    SprayShot shot;
    shot.sender = Below(senders_);
    const Endpoint& target = endpoints_[Below(endpoints_.size())];
    shot.destination = Below(4) == 0 ? kLimitedBroadcast : target.address;
    shot.port = target.port;

    // Short datagrams as often as long ones: the header-sized edge matters most.
    const std::size_t length = Below(2) == 0 ? Below(64) : Below(kLargestDatagram + 1);
    shot.bytes.resize(length);
    for (std::uint8_t& byte : shot.bytes) byte = static_cast<std::uint8_t>(Below(256));
    if (length >= 2 && Below(3) == 0) {
        shot.bytes[kGroupOffset] = kNetworkReplyGroup;
        shot.bytes[kCodeOffset] = kNetworkReplyCode;
        if (length >= 12 && !listedSerials_.empty() && Below(2) == 0) {
            PutLe32(shot.bytes, kSourceSerialOffset, listedSerials_[Below(listedSerials_.size())]);
        }
    }
    return shot;
}

}  // namespace lumaro::sim
