#pragma once
// The one-click procedure for many listed controllers, one after another in serial order:
// a plan first (search records and ARP only), then the same procedure as the button for
// each controller that needs it. The controllers moved before answer ARP at their new
// addresses, so each one that must move finds its own free address. A failure does not
// stop the others.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "workflow/controller_dialog.h"
#include "workflow/web_enable.h"
#include "workflow/web_enable_plan.h"

namespace lumaro {

// Which listed controllers the batch may touch.
struct BatchChoice {
    std::vector<std::uint32_t> serials;  // empty: every listed controller
    bool onlyUnreachable = false;        // only those whose address would not be kept
};

struct BatchEntry {
    WebEnablePlan plan;     // for a controller left out: its serial and listed values only
    bool leftOut = false;   // not chosen: neither planned nor touched
    bool ToRun() const { return !leftOut && plan.Needed(); }
};

// Plans every controller of the table (in table order, which is serial order after a
// search); the ones that `choice` leaves out are not planned. `pcAddresses` and
// `parallelArp`: as for WebEnablePlanner.
std::vector<BatchEntry> PlanWebEnableBatch(const ControllerTable& table,
                                           const BatchChoice& choice, const ArpRequest& arp,
                                           const std::vector<Ipv4Address>& pcAddresses,
                                           std::size_t parallelArp = 1);

enum class BatchResult {
    Done,       // the procedure ran to its end: reachable, web server on, page address known
    Failed,     // the procedure stopped with a message, or the controller was not listed
    NotNeeded,  // reachable at an address that stays, web server already on
    LeftOut,    // not chosen
};

struct BatchOutcome {
    std::uint32_t serial = 0;
    BatchResult result = BatchResult::LeftOut;
    Ipv4Address previousAddress = 0;  // as listed before the batch
    Ipv4Address address = 0;          // where it is now (the last search's record when known)
    bool webEnabled = false;          // as the last search listed it
    std::string pageAddress;          // "HTTP://a.b.c.d" when done
    std::optional<unsigned> message;  // the string id of the message that stopped the run
    bool Moved() const { return address != previousAddress; }
};

// Runs the procedure through `dialog` for each entry to run, in order, selecting its row by
// serial in the link's present table; `finished` hears of each one as it ends. Gives one
// outcome per entry, in the entries' order.
std::vector<BatchOutcome> RunWebEnableBatch(
    ControllerLink& link, ControllerDialog& dialog, const WebEnableSystem& system,
    const std::vector<BatchEntry>& entries,
    const std::function<void(const BatchOutcome&)>& finished);

}  // namespace lumaro
