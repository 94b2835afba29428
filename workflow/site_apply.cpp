#include "workflow/site_apply.h"

#include <algorithm>
#include <mutex>
#include <span>

#include "link/controller_text.h"
#include "link/search.h"
#include "workflow/reselection.h"

namespace lumaro {

namespace {

// A lane whose link lists the site's table on sockets of its own, closed when it goes.
class ListingSiteLane {
public:
    ListingSiteLane(SiteLane lane, const ControllerTable& listed)
        : lane_(std::move(lane)), open_(*lane_.link, listed) {
        // As the window seeds it at start-up: a counter of 0 would take any reply as the one.
        lane_.link->SeedSequenceCounter();
    }

    ControllerLink& Link() { return *lane_.link; }
    CommandDialog& Dialog() { return *lane_.dialog; }
    void Type(const TypedAddresses& addresses) { lane_.typeAddresses(addresses); }

    // Selects the controller's row; false when the list does not hold it.
    bool Select(std::uint32_t serial) {
        const std::optional<int> row = RowOfSerial(Link(), Dialog(), serial);
        if (row) Dialog().SelectRow(*row);
        return row.has_value();
    }
    // The controller as the lane's last search lists it.
    std::optional<ControllerRecord> Listed(std::uint32_t serial) const {
        for (const ControllerRecord& record : lane_.link->Table().Found()) {
            if (record.serial == serial) return record;
        }
        return std::nullopt;
    }

private:
    SiteLane lane_;
    ListingTableOpen open_;  // closes the link's sockets before the lane goes
};

class SiteRun {
public:
    SiteRun(const SiteApplyPlan& plan, const ControllerTable& listed, const SiteLaneMaker& makeLane,
            const SiteWriteOptions& options)
        : plan_(plan),
          makeLane_(makeLane),
          options_(options),
          outcomes_(plan.entries.size()),
          left_(plan.steps.size(), false),
          listed_(listed) {}

    std::vector<SiteWriteOutcome> Run(
        const std::function<void(const SiteStepEnd&, const SideBySideProgress&)>& finished) {
        SideBySideTasks tasks;
        tasks.count = plan_.steps.size();
        tasks.spacing = options_.pace.startSpacing;
        tasks.waitsFor = [this](std::size_t later, std::size_t earlier) {
            const std::vector<std::size_t>& after = plan_.steps[later].after;
            return std::find(after.begin(), after.end(), earlier) != after.end();
        };
        tasks.run = [this](std::size_t step) { RunStep(step); };
        tasks.ended = [&](std::size_t step, const SideBySideProgress& progress) {
            const SiteStep& ended = plan_.steps[step];
            finished({plan_.entries[ended.entry], ended, outcomes_[ended.entry]}, progress);
        };
        RunSideBySide(tasks, options_.pace.jobs);
        return outcomes_;
    }

private:
    void RunStep(std::size_t index) {
        const SiteStep& step = plan_.steps[index];
        const SiteEntry& entry = plan_.entries[step.entry];
        SiteWriteOutcome& outcome = outcomes_[step.entry];  // this entry's steps run in turn
        // Evidence first: every controller at the planned address has been listed elsewhere.
        for (std::size_t before : step.after) {
            if (!Left(before)) {
                outcome.end = SiteWriteEnd::HolderStayed;
                outcome.blockedBy = plan_.entries[plan_.steps[before].entry].serial;
                return;
            }
        }
        ListingSiteLane lane(makeLane_(), ListedNow());
        if (!lane.Select(entry.serial)) {
            outcome.end = SiteWriteEnd::Gone;
            return;
        }
        outcome.end = SiteWriteEnd::Written;
        const Ipv4Address from = lane.Listed(entry.serial)->ip;
        if (step.toHoldingAddress) {
            WriteAddresses(lane, entry, {*entry.holdingAddress, entry.listed->hostMask, 0}, outcome);
            outcome.reachedHoldingAddress =
                outcome.listedAfter && outcome.listedAfter->ip == *entry.holdingAddress;
        } else {
            if (entry.writesAddresses) {
                WriteAddresses(lane, entry, {entry.target.ip, entry.target.mask, entry.target.gateway},
                               outcome);
            }
            if (entry.switchesWebOff && lane.Select(entry.serial)) {
                const CommandResult result =
                    DisableWebCommand(lane.Link(), lane.Dialog(), options_.environment);
                outcome.answered = outcome.answered && result.answered;
            }
            if (options_.syncTime && lane.Select(entry.serial)) {
                outcome.clockSet = SyncTimeCommand(lane.Link(), lane.Dialog()).answered;
            }
            outcome.listedAfter = lane.Listed(entry.serial);
        }
        outcome.changedAt = options_.secondsSince1970();
        NoteEnd(index, entry.serial, from, outcome.listedAfter);
    }

    // The panel's apply with `typed` in its fields; then searches until the controller is
    // listed at the address written, a few times at most.
    void WriteAddresses(ListingSiteLane& lane, const SiteEntry& entry, const TypedAddresses& typed,
                        SiteWriteOutcome& outcome) {
        lane.Type(typed);
        const CommandResult result = ApplyCommand(lane.Link(), lane.Dialog(), options_.environment);
        outcome.answered = outcome.answered && result.outcome == CommandOutcome::Sent && result.answered;
        outcome.listedAfter = lane.Listed(entry.serial);
        for (int search = 0; search < kExtraConfirmingSearches; ++search) {
            if (outcome.listedAfter && outcome.listedAfter->ip == typed.ip) break;
            options_.environment.pause(kApplySettlePause);
            lane.Dialog().Search();
            outcome.listedAfter = lane.Listed(entry.serial);
        }
    }

    bool Left(std::size_t step) const {
        const std::lock_guard lock(mutex_);
        return left_[step];
    }

    ControllerTable ListedNow() const {
        const std::lock_guard lock(mutex_);
        return listed_;
    }

    // The step's controller has left the address it had when the step began if its last
    // search lists it at another; the lanes after it list it where that search did.
    void NoteEnd(std::size_t step, std::uint32_t serial, Ipv4Address from,
                 const std::optional<ControllerRecord>& now) {
        const std::lock_guard lock(mutex_);
        left_[step] = now && now->ip != from;
        if (!now) return;
        for (ControllerRecord& record : std::span(listed_.records).first(listed_.count)) {
            if (record.serial == serial) record = *now;
        }
    }

    const SiteApplyPlan& plan_;
    const SiteLaneMaker& makeLane_;
    const SiteWriteOptions& options_;
    std::vector<SiteWriteOutcome> outcomes_;  // one per entry; each step writes its entry's
    mutable std::mutex mutex_;
    std::vector<bool> left_;   // guarded by mutex_: per step, its controller left its address
    ControllerTable listed_;   // guarded by mutex_
};

SiteDifferences Compare(const SiteTarget& target, const ControllerRecord& after) {
    return {after.ip != target.ip, after.mask != target.mask, after.gateway != target.gateway,
            WebServerEnabled(after.webPort) != target.web};
}

const ControllerRecord* FindListed(const ControllerTable& table, std::uint32_t serial) {
    for (const ControllerRecord& record : table.Found()) {
        if (record.serial == serial) return &record;
    }
    return nullptr;
}

}  // namespace

std::vector<SiteWriteOutcome> RunSiteWrites(
    const SiteApplyPlan& plan, const ControllerTable& listed, const SiteLaneMaker& makeLane,
    const SiteWriteOptions& options,
    const std::function<void(const SiteStepEnd&, const SideBySideProgress&)>& finished) {
    if (plan.Refused()) return std::vector<SiteWriteOutcome>(plan.entries.size());
    return SiteRun(plan, listed, makeLane, options).Run(finished);
}

std::vector<SiteJudgement> JudgeSite(const SiteApplyPlan& plan,
                                     const std::vector<SiteWriteOutcome>& writes,
                                     const ControllerTable& finalSearch) {
    std::vector<SiteJudgement> judgements;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const SiteEntry& entry = plan.entries[i];
        const SiteWriteOutcome written = i < writes.size() ? writes[i] : SiteWriteOutcome{};
        SiteJudgement judgement;
        if (const ControllerRecord* after = FindListed(finalSearch, entry.serial)) judgement.after = *after;
        if (judgement.after) judgement.differences = Compare(entry.target, *judgement.after);
        switch (entry.action) {
            case SiteAction::NotListed: judgement.verdict = SiteVerdict::NotListed; break;
            case SiteAction::LeftAlone: judgement.verdict = SiteVerdict::LeftAlone; break;
            case SiteAction::AsPlanned:
            case SiteAction::Write: {
                const bool asPlanned = judgement.after && !judgement.differences.Any();
                const bool wrote = written.end == SiteWriteEnd::Written;
                if (asPlanned) {
                    judgement.verdict = wrote ? SiteVerdict::Changed : SiteVerdict::AsPlanned;
                    break;
                }
                judgement.verdict = SiteVerdict::Failed;
                judgement.failure = written.end == SiteWriteEnd::HolderStayed ? SiteFailure::HolderStayed
                                    : written.end == SiteWriteEnd::Gone       ? SiteFailure::Gone
                                    : !judgement.after                        ? SiteFailure::NotListedAfter
                                    : wrote && !written.answered              ? SiteFailure::Silent
                                                                              : SiteFailure::NotAsPlanned;
                break;
            }
        }
        judgements.push_back(judgement);
    }
    return judgements;
}

}  // namespace lumaro
