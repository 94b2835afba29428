#pragma once
// Applying a site's plan: the steps of the plan (workflow/site_apply_plan.h) run side by
// side, each with the panel's own commands on a link of its own (the apply with the
// planned addresses typed into its fields, then the web-off, and the clock on request);
// then every entry judged from what a new search lists, never from having sent a frame.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/controller_link.h"
#include "platform/time/clock.h"
#include "workflow/command_dialog.h"
#include "workflow/controller_commands.h"
#include "workflow/side_by_side.h"
#include "workflow/site_apply_plan.h"
#include "workflow/web_enable_batch.h"

namespace lumaro {

// What one step works with: a link of its own (its own sockets, buffers and counter) and
// the window's stand-in over it, with a way to type addresses into its fields as a
// technician would into the panel's.
struct SiteLane {
    std::unique_ptr<ControllerLink> link;
    std::unique_ptr<CommandDialog> dialog;  // over *link; goes before it
    std::function<void(const TypedAddresses&)> typeAddresses;
};
using SiteLaneMaker = std::function<SiteLane()>;

struct SiteWriteOptions {
    bool syncTime = false;  // also set each written controller's clock
    BatchPace pace;         // as the batch: runs at once, and the spacing of their starts
    CommandEnvironment environment = CommandEnvironment::System();
    std::function<std::int64_t()> secondsSince1970 = platform::SecondsSince1970;
};

// After an address write, the searches that look for the controller at its new address
// (the apply's own, then these, each after the apply's pause): a controller that takes a
// moment to come back is not taken for one that stayed.
constexpr int kExtraConfirmingSearches = 2;

enum class SiteWriteEnd {
    NotWritten,    // nothing to write
    Written,       // the commands went out (whether answered: SiteWriteOutcome::answered)
    HolderStayed,  // not written: a controller at its planned address did not leave it
    Gone,          // not written: no longer listed when its turn came
};

struct SiteWriteOutcome {
    SiteWriteEnd end = SiteWriteEnd::NotWritten;
    bool answered = true;                     // every frame sent got a reply with its sequence
    std::optional<std::uint32_t> blockedBy;   // HolderStayed: the controller that stayed
    std::optional<ControllerRecord> listedAfter;  // the step's last search, if it lists it
    std::optional<std::int64_t> changedAt;    // when its last write ended (seconds since 1970)
    std::optional<bool> clockSet;             // --sync-time: whether the clock frame was answered
    bool reachedHoldingAddress = false;       // a ring's first write: listed there afterwards
};

// Where a step stands as it ends, for the progress lines.
struct SiteStepEnd {
    const SiteEntry& entry;
    const SiteStep& step;
    const SiteWriteOutcome& outcome;
};

// Runs the steps of `plan` (not refused), up to `options.pace.jobs` at once, each started in
// the steps' order once the spacing after the one before has passed and the steps it comes
// after have ended. A step whose holders did not leave its planned address (the search
// after their writes does not list them elsewhere) writes nothing. Each step runs in a lane
// from `makeLane` that lists `listed` with the writes ended before it. `finished` hears of
// each step as it ends, one at a time. Gives one outcome per entry of the plan.
std::vector<SiteWriteOutcome> RunSiteWrites(
    const SiteApplyPlan& plan, const ControllerTable& listed, const SiteLaneMaker& makeLane,
    const SiteWriteOptions& options,
    const std::function<void(const SiteStepEnd&, const SideBySideProgress&)>& finished);

enum class SiteVerdict {
    AsPlanned,  // nothing had to be written, and the final search lists it as planned
    Changed,    // written, and the final search lists it as planned
    Failed,     // the final search does not list it as planned (SiteFailure says why)
    NotListed,  // the search before the writes did not list its serial
    LeftAlone,  // not in the plan: untouched
};

enum class SiteFailure {
    None,
    NotListedAfter,  // the final search does not list it
    HolderStayed,    // not written: a controller at its planned address stayed there
    Gone,            // not written: no longer listed when its turn came
    Silent,          // written, and it did not answer (every frame or some)
    NotAsPlanned,    // listed, with other values than planned
};

// The planned values that the final search shows otherwise.
struct SiteDifferences {
    bool ip = false, mask = false, gateway = false, web = false;
    bool Any() const { return ip || mask || gateway || web; }
};

struct SiteJudgement {
    SiteVerdict verdict = SiteVerdict::LeftAlone;
    SiteFailure failure = SiteFailure::None;
    std::optional<ControllerRecord> after;  // as the final search lists it
    SiteDifferences differences;            // of `after` from the target
};

// What the final search says of each entry of `plan`, given what its writes did.
std::vector<SiteJudgement> JudgeSite(const SiteApplyPlan& plan,
                                     const std::vector<SiteWriteOutcome>& writes,
                                     const ControllerTable& finalSearch);

}  // namespace lumaro
