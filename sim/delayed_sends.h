#pragma once
// Answers that leave later (a controller's reply delay), ordered by the time they are
// due; the service loop sleeps until the first one and sends it, never blocking the
// other controllers meanwhile.

#include <chrono>
#include <cstdint>
#include <optional>
#include <queue>
#include <vector>

#include "platform/net/ipv4_address.h"
#include "sim/controller_protocol.h"

namespace lumaro::sim {

struct DelayedSend {
    std::chrono::steady_clock::time_point due;
    std::uint64_t order = 0;  // keeps answers due at the same time in the order queued
    std::size_t controller = 0;
    Ipv4Address destination = 0;
    std::uint16_t port = 0;
    Datagram bytes;
};

class DelayedSends {
public:
    void Add(DelayedSend send) {
        send.order = nextOrder_++;
        queue_.push(std::move(send));
    }

    std::optional<std::chrono::steady_clock::time_point> NextDue() const {
        if (queue_.empty()) return std::nullopt;
        return queue_.top().due;
    }

    // Removes and returns every send due at `now`, earliest first.
    std::vector<DelayedSend> TakeDue(std::chrono::steady_clock::time_point now) {
        std::vector<DelayedSend> due;
        while (!queue_.empty() && queue_.top().due <= now) {
            due.push_back(queue_.top());
            queue_.pop();
        }
        return due;
    }

private:
    struct Later {
        bool operator()(const DelayedSend& a, const DelayedSend& b) const {
            return a.due != b.due ? a.due > b.due : a.order > b.order;
        }
    };
    std::priority_queue<DelayedSend, std::vector<DelayedSend>, Later> queue_;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace lumaro::sim
