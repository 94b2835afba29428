#include "scripted/scripted_network.h"

#include <algorithm>
#include <map>
#include <optional>

namespace lumaro::testing {

struct Chatterer {
    VirtualTime next;
    VirtualTime period;
    Datagram bytes;
};

struct Endpoint {
    Ipv4Address address = 0;
    Ipv4Address mask = 0;
    std::multimap<VirtualTime, Datagram> queued;  // by arrival; equal times keep their order
    std::vector<std::pair<VirtualTime, Datagram>> answers;
    std::vector<std::pair<VirtualTime, ScriptedNetwork::Answerer>> answerers;
    std::vector<Chatterer> chatterers;
    std::size_t failingWaits = 0;
    SocketCounts counts;
    std::vector<SentDatagram> sent;
};

struct TimerTicks {
    VirtualTime coarse;
    VirtualTime fine;
};

struct ScriptedNetwork::State {
    VirtualTime now{0};
    std::vector<Endpoint> endpoints;  // in the order of the address table
    std::optional<TimerTicks> ticks;
    int fineTimerHolds = 0;
    FineTimerUse fineTimer;

    // When a wait of `timeout` that nothing ends is over.
    VirtualTime WaitEnd(VirtualTime timeout) const {
        const VirtualTime end = now + timeout;
        if (!ticks) return end;
        const VirtualTime tick = fineTimerHolds > 0 ? ticks->fine : ticks->coarse;
        return (end + tick - VirtualTime(1)) / tick * tick;
    }

    Endpoint& At(Ipv4Address address) {
        for (Endpoint& endpoint : endpoints) {
            if (endpoint.address == address) return endpoint;
        }
        Endpoint& added = endpoints.emplace_back();
        added.address = address;
        return added;
    }
};

namespace {

// The arrival time of the earliest datagram that has not been received yet.
std::optional<VirtualTime> NextArrival(const Endpoint& endpoint) {
    std::optional<VirtualTime> next;
    if (!endpoint.queued.empty()) next = endpoint.queued.begin()->first;
    for (const Chatterer& chatterer : endpoint.chatterers) {
        if (!next || chatterer.next < *next) next = chatterer.next;
    }
    return next;
}

// Takes the earliest datagram that has arrived by `now`: queued ones before chatter of
// the same moment.
std::optional<Datagram> TakeArrived(Endpoint& endpoint, VirtualTime now) {
    const auto next = NextArrival(endpoint);
    if (!next || *next > now) return std::nullopt;
    if (!endpoint.queued.empty() && endpoint.queued.begin()->first == *next) {
        Datagram bytes = std::move(endpoint.queued.begin()->second);
        endpoint.queued.erase(endpoint.queued.begin());
        return bytes;
    }
    for (Chatterer& chatterer : endpoint.chatterers) {
        if (chatterer.next == *next) {
            chatterer.next += chatterer.period;
            return chatterer.bytes;
        }
    }
    return std::nullopt;
}

class ScriptedSocket final : public LinkSocket {
public:
    ScriptedSocket(std::shared_ptr<ScriptedNetwork::State> state, Ipv4Address address)
        : state_(std::move(state)), address_(address) {}

    platform::Readiness WaitReadable(std::chrono::microseconds timeout) override {
        Endpoint& endpoint = state_->At(address_);
        ++endpoint.counts.waits;
        if (endpoint.counts.sends == 0) ++endpoint.counts.waitsBeforeSend;
        if (state_->fineTimerHolds == 0) ++state_->fineTimer.waitsWithout;
        if (endpoint.failingWaits > 0) {
            --endpoint.failingWaits;
            return platform::Readiness::Failed;
        }
        const auto next = NextArrival(endpoint);
        const VirtualTime end = state_->WaitEnd(timeout);
        if (next && *next <= end) {
            state_->now = std::max(state_->now, *next);
            return platform::Readiness::Readable;
        }
        state_->now = end;
        return platform::Readiness::Quiet;
    }

    std::optional<std::size_t> Receive(std::span<std::uint8_t> into) override {
        Endpoint& endpoint = state_->At(address_);
        ++endpoint.counts.receives;
        auto bytes = TakeArrived(endpoint, state_->now);
        if (!bytes || bytes->size() > into.size()) return std::nullopt;  // too big: dropped
        std::fill(into.begin(), into.end(), ScriptedNetwork::kStaleByte);
        std::copy(bytes->begin(), bytes->end(), into.begin());
        return bytes->size();
    }

    bool SendTo(Ipv4Address destination, std::uint16_t port,
                std::span<const std::uint8_t> datagram) override {
        Endpoint& endpoint = state_->At(address_);
        ++endpoint.counts.sends;
        endpoint.sent.push_back({destination, port, Datagram(datagram.begin(), datagram.end()),
                                 state_->now});
        for (const auto& [delay, bytes] : endpoint.answers) {
            endpoint.queued.emplace(state_->now + delay, bytes);
        }
        // Copies: an answerer that looked at another interface would have added it to the
        // list and moved this endpoint.
        const SentDatagram sent = endpoint.sent.back();
        const auto answerers = endpoint.answerers;
        for (const auto& [delay, answer] : answerers) {
            for (Datagram& bytes : answer(sent)) {
                state_->At(address_).queued.emplace(state_->now + delay, std::move(bytes));
            }
        }
        return true;
    }

    std::uint16_t LocalPort() const override { return kLocalPort; }

private:
    static constexpr std::uint16_t kLocalPort = 50000;
    std::shared_ptr<ScriptedNetwork::State> state_;
    Ipv4Address address_;
};

}  // namespace

ScriptedNetwork::ScriptedNetwork() : state_(std::make_shared<State>()) {}

void ScriptedNetwork::AddInterface(Ipv4Address address, Ipv4Address mask) {
    state_->At(address).mask = mask;
}

void ScriptedNetwork::Deliver(Ipv4Address address, VirtualTime at, Datagram bytes) {
    state_->At(address).queued.emplace(at, std::move(bytes));
}

void ScriptedNetwork::AnswerEverySend(Ipv4Address address, VirtualTime delay, Datagram bytes) {
    state_->At(address).answers.emplace_back(delay, std::move(bytes));
}

void ScriptedNetwork::AnswerEverySendWith(Ipv4Address address, VirtualTime delay,
                                          Answerer answer) {
    state_->At(address).answerers.emplace_back(delay, std::move(answer));
}

void ScriptedNetwork::Chatter(Ipv4Address address, VirtualTime from, VirtualTime period,
                              Datagram bytes) {
    state_->At(address).chatterers.push_back({from, period, std::move(bytes)});
}

void ScriptedNetwork::FailWaits(Ipv4Address address, std::size_t count) {
    state_->At(address).failingWaits += count;
}

void ScriptedNetwork::TickTimer(VirtualTime coarse, VirtualTime fine) {
    state_->ticks = TimerTicks{coarse, fine};
}

LinkEnvironment ScriptedNetwork::Environment() const {
    std::shared_ptr<State> state = state_;
    LinkEnvironment environment;
    environment.readAddressTable = [state] {
        std::vector<platform::LocalAddress> table;
        for (const Endpoint& endpoint : state->endpoints) {
            table.push_back({endpoint.address, endpoint.mask});
        }
        return std::optional(table);
    };
    environment.openSocket = [state](Ipv4Address local) -> std::unique_ptr<LinkSocket> {
        return std::make_unique<ScriptedSocket>(state, local);
    };
    environment.steadyNow = [state] { return LinkEnvironment::SteadyTime(state->now); };
    environment.secondsSince1970 = [] { return kScriptedSecondsSince1970; };
    environment.localNow = [] { return std::optional(platform::CalendarTime{2024, 3, 10, 0, 9, 5, 7}); };
    environment.requestFineTimer = [state] {
        ++state->fineTimerHolds;
        ++state->fineTimer.requests;
    };
    environment.releaseFineTimer = [state] {
        --state->fineTimerHolds;
        ++state->fineTimer.releases;
    };
    return environment;
}

ScriptedNetwork::FineTimerUse ScriptedNetwork::FineTimer() const { return state_->fineTimer; }

SocketCounts ScriptedNetwork::Counts(Ipv4Address address) const { return state_->At(address).counts; }

std::vector<SentDatagram> ScriptedNetwork::Sent(Ipv4Address address) const {
    return state_->At(address).sent;
}

VirtualTime ScriptedNetwork::Now() const { return state_->now; }

Datagram DatagramOf(std::size_t length, std::initializer_list<std::uint8_t> start) {
    Datagram bytes(length, 0);
    std::copy_n(start.begin(), std::min(start.size(), length), bytes.begin());
    return bytes;
}

}  // namespace lumaro::testing
