#pragma once
// The one-click procedure for many listed controllers: a plan first (search records and ARP
// only), then the same procedure as the button for each controller that needs it, several
// side by side or one after another in serial order. The controllers moved before answer
// ARP at their new addresses, and the addresses that the plan gave out or that a running
// procedure has found are held for their controllers (workflow/address_claims.h), so each
// one that must move finds an address of its own. A failure does not stop the others.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "workflow/controller_dialog.h"
#include "workflow/side_by_side.h"
#include "workflow/web_enable.h"
#include "workflow/web_enable_plan.h"
#include "workflow/web_enable_verdict.h"

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
// `parallelArp`: as for WebEnablePlanner; the chosen controllers' present addresses are
// asked that many at a time before the first row is planned, the answers kept for the plan.
std::vector<BatchEntry> PlanWebEnableBatch(const ControllerTable& table,
                                           const BatchChoice& choice, const ArpRequest& arp,
                                           const std::vector<Ipv4Address>& pcAddresses,
                                           std::size_t parallelArp = 1);

enum class BatchResult {
    Done,       // the run's final search lists it where the run expects, web server on
    Failed,     // anything else (BatchOutcome::verdict says why)
    NotNeeded,  // reachable at an address that stays, web server already on
    LeftOut,    // not chosen
};

struct BatchOutcome {
    std::uint32_t serial = 0;
    BatchResult result = BatchResult::LeftOut;
    // For a run that was started: how it was judged. `unlistedAtStart` when the controller
    // was gone from the list before its run could select it.
    WebEnableVerdict verdict = WebEnableVerdict::Stopped;
    bool unlistedAtStart = false;
    Ipv4Address previousAddress = 0;  // as listed before the batch
    Ipv4Address address = 0;          // where it is now (the last search's record when known)
    bool webEnabled = false;          // as the last search listed it
    std::string pageAddress;          // "HTTP://a.b.c.d" when done
    std::optional<Outcome> told;      // what the procedure told when it stopped
    bool Moved() const { return address != previousAddress; }
};

// What one running procedure works with: a link of its own (its own interface sockets, so
// its own local ports, and its own buffers, sequence counter and table) and the window's
// stand-in over that link.
struct BatchLane {
    std::unique_ptr<ControllerLink> link;
    std::unique_ptr<ControllerDialog> dialog;  // over *link; goes before it
};
using BatchLaneMaker = std::function<BatchLane()>;

// How the runs are paced. Every frame of a run but the probe is a broadcast that every
// controller of the segment receives, and every run ends with a search that every one of
// them answers. Runs started together stay in step, and their frames reach each controller
// in bursts: the large settings writes of a dozen runs within a millisecond or two, more
// than the receive buffer of a small device may hold, and a write that is lost goes
// unnoticed until its run fails. So a run starts at least half a second after the one
// before: each controller meets about one run's frame at a time, at most two runs' worth
// a second. As a run takes about 8 s, that alone lets some 16 run at once. The default
// limit lies above that, for PCs whose ARP answers come slowly: through the neighbour table
// (as under Wine) an unanswered request takes about 5 s and an address just asked about up
// to 9 s, and a run takes 17-20 s; 32 at once keep the starts near their pace there. The
// frames per second that reach a controller do not grow with the limit, only with the
// pace of the starts. A technician may ask for fewer.
constexpr std::chrono::milliseconds kBatchStartSpacing{500};
constexpr std::size_t kDefaultBatchJobs = 32;
constexpr std::size_t kMaxBatchJobs = 64;

struct BatchPace {
    std::size_t jobs = kDefaultBatchJobs;  // runs at once, at most; 1: one after another
    std::chrono::milliseconds startSpacing = kBatchStartSpacing;
};

// Runs the procedure for each entry to run, up to `pace.jobs` at once: each starts, in the
// entries' order, as soon as fewer are running and the spacing after the start before has
// passed; with `jobs` 1 they run one after another.
// Each runs in a lane of its own from `makeLane`, whose link lists `listed` (the search
// that the entries were planned from) with the addresses of the runs done before it; its
// row is selected by serial. An entry whose plan keeps an address that the list shows for
// an earlier controller too waits until those earlier ones have ended, as it would one
// after another. `finished` hears of each run as it ends, in that order, one at a time,
// with the counts of runs done, running and left. Gives one outcome per entry, in the
// entries' order.
std::vector<BatchOutcome> RunWebEnableBatch(
    const ControllerTable& listed, const BatchLaneMaker& makeLane, const WebEnableSystem& system,
    const std::vector<BatchEntry>& entries, const BatchPace& pace,
    const std::function<void(const BatchOutcome&, const SideBySideProgress&)>& finished);

}  // namespace lumaro
