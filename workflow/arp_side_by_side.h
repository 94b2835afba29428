#pragma once
// ARP questions asked side by side: an answer can take seconds (no reply, or the neighbour
// table checking an address it already holds), and asking a site's addresses in turn adds
// those up.

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/arp/arp.h"
#include "platform/net/ipv4_address.h"
#include "workflow/web_enable_plan.h"

namespace lumaro {

using ArpQuestion = std::pair<Ipv4Address, Ipv4Address>;  // target, source

// The answer to each question, in the questions' order, asked `parallel` at a time (at
// least one); `arp` must be safe to call from several threads at once.
std::vector<platform::ArpResult> AskSideBySide(const std::vector<ArpQuestion>& questions,
                                               const ArpRequest& arp, std::size_t parallel);

}  // namespace lumaro
