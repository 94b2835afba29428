#include "workflow/web_enable_batch.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <span>

#include "link/controller_text.h"
#include "link/search.h"
#include "workflow/address_claims.h"
#include "workflow/address_rules.h"
#include "workflow/arp_side_by_side.h"
#include "workflow/reselection.h"

namespace lumaro {

namespace {

bool Chosen(const BatchChoice& choice, std::uint32_t serial) {
    return choice.serials.empty() ||
           std::find(choice.serials.begin(), choice.serials.end(), serial) != choice.serials.end();
}

// The plan asks ARP about each controller's present address when it comes to that row, one
// row after another. Where an answer takes long (through the neighbour table, an address
// that the system already holds is checked again, up to 9 s, and every controller that
// answered the search is held), asking each in turn adds up: the present addresses that
// the plan may ask about (those in the subnet of the PC interface that heard the
// controller, and not reserved) are asked beforehand, `parallelArp` at a time, and the
// plan takes those answers.
ArpRequest WithPresentAddressesAsked(const ControllerTable& table, const BatchChoice& choice,
                                     const ArpRequest& arp, std::size_t parallelArp) {
    std::vector<ArpQuestion> questions;
    for (const ControllerRecord& record : table.Found()) {
        const bool mayBeAsked = CheckAddressItself(record.ip, record.hostAddress,
                                                   record.hostMask) == PresentAddress::MayStay;
        const ArpQuestion question{record.ip, record.hostAddress};
        if (Chosen(choice, record.serial) && mayBeAsked &&
            std::ranges::find(questions, question) == questions.end()) {
            questions.push_back(question);
        }
    }
    const std::vector<platform::ArpResult> answers = AskSideBySide(questions, arp, parallelArp);

    // An answer that could not be asked is not kept: the plan asks again when it comes to it.
    auto known = std::make_shared<std::map<ArpQuestion, platform::ArpResult>>();
    for (std::size_t i = 0; i < questions.size(); ++i) {
        if (answers[i].Asked()) known->insert_or_assign(questions[i], answers[i]);
    }
    return [known, arp](Ipv4Address target, Ipv4Address source) {
        const auto answer = known->find({target, source});
        return answer != known->end() ? answer->second : arp(target, source);
    };
}

// What is known of a controller without running anything on it: its plan's listed values.
BatchOutcome Untouched(const BatchEntry& entry) {
    BatchOutcome outcome;
    outcome.serial = entry.plan.serial;
    outcome.result = entry.leftOut ? BatchResult::LeftOut : BatchResult::NotNeeded;
    outcome.previousAddress = entry.plan.presentAddress;
    outcome.address = entry.plan.presentAddress;
    outcome.webEnabled = entry.plan.webEnabled;
    return outcome;
}

BatchOutcome RunProcedure(ControllerLink& link, ControllerDialog& dialog,
                          const WebEnableSystem& system, const BatchEntry& entry) {
    BatchOutcome outcome = Untouched(entry);
    outcome.result = BatchResult::Failed;
    const std::optional<int> row = RowOfSerial(link, dialog, entry.plan.serial);
    if (!row) {
        // Gone from the list since the plan: nothing to select.
        outcome.unlistedAtStart = true;
        return outcome;
    }
    dialog.SelectRow(*row);
    const WebEnableReport report = EnableWebProcedure(link, dialog, system);
    outcome.told = report.told;
    outcome.verdict = JudgeWebEnableRun(report, link.Table());
    if (outcome.verdict == WebEnableVerdict::Done) {
        outcome.result = BatchResult::Done;
        outcome.pageAddress = report.pageAddress;
    }
    // A run that reached its end searched again: the list shows the controller as it is now.
    if (const auto now = RowOfSerial(link, dialog, entry.plan.serial)) {
        const ControllerRecord& record = link.Table().records[static_cast<std::size_t>(*now)];
        outcome.webEnabled = WebServerEnabled(record.webPort);
        if (report.end == WebEnableEnd::PageOpened) outcome.address = record.ip;
    }
    return outcome;
}

// A lane whose link lists the batch's table on sockets of its own, closed when it goes.
class ListingLane {
public:
    ListingLane(BatchLane lane, const ControllerTable& listed)
        : lane_(std::move(lane)), open_(*lane_.link, listed) {}

    ControllerLink& Link() { return *lane_.link; }
    ControllerDialog& Dialog() { return *lane_.dialog; }

private:
    BatchLane lane_;
    ListingTableOpen open_;  // closes the link's sockets before the lane goes
};

// One batch: the entries to run, the addresses held for their controllers and the list as
// the runs that have ended left it.
class BatchRun {
public:
    BatchRun(const ControllerTable& listed, const BatchLaneMaker& makeLane,
             const WebEnableSystem& system, const std::vector<BatchEntry>& entries)
        : makeLane_(makeLane), system_(system), entries_(entries), listed_(listed) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].ToRun()) toRun_.push_back(i);
        }
        HoldPlannedAddresses();
    }

    std::vector<BatchOutcome> Run(
        const BatchPace& pace,
        const std::function<void(const BatchOutcome&, const SideBySideProgress&)>& finished) {
        outcomes_.clear();
        for (const BatchEntry& entry : entries_) outcomes_.push_back(Untouched(entry));
        SideBySideTasks tasks;
        tasks.count = toRun_.size();
        tasks.spacing = pace.startSpacing;
        tasks.waitsFor = [this](std::size_t later, std::size_t earlier) {
            return KeepsAddressOf(entries_[toRun_[later]], entries_[toRun_[earlier]]);
        };
        tasks.run = [this](std::size_t task) {
            outcomes_[toRun_[task]] = RunOne(entries_[toRun_[task]]);
        };
        tasks.ended = [&](std::size_t task, const SideBySideProgress& progress) {
            finished(outcomes_[toRun_[task]], progress);
        };
        // Each lane's link holds its own start of the socket layer while it has sockets.
        RunSideBySide(tasks, pace.jobs);
        return outcomes_;
    }

private:
    // The addresses that the plan gives out stay with their controllers: a move's new
    // address, and the address a controller keeps (a restart may silence its ARP for a
    // while). Another controller's run passes over them, as the plan did.
    void HoldPlannedAddresses() {
        for (std::size_t i : toRun_) {
            const WebEnablePlan& plan = entries_[i].plan;
            if (plan.way == PlannedWay::Move || plan.way == PlannedWay::KeepAddress) {
                claims_.Claim(plan.address, plan.serial);
            }
        }
    }

    // One after another, the earlier controller would have moved away from the address
    // that the later one keeps before the later one's run counted who is listed there.
    static bool KeepsAddressOf(const BatchEntry& later, const BatchEntry& earlier) {
        return later.plan.way == PlannedWay::KeepAddress &&
               later.plan.presentAddress == earlier.plan.presentAddress;
    }

    BatchOutcome RunOne(const BatchEntry& entry) {
        ListingLane lane(makeLane_(), ListedNow());
        WebEnableSystem system = system_;
        const std::uint32_t serial = entry.plan.serial;
        system.claimAddress = [this, serial](Ipv4Address a) { return claims_.Claim(a, serial); };
        system.releaseAddress = [this, serial](Ipv4Address a) { claims_.Release(a, serial); };
        const BatchOutcome outcome = RunProcedure(lane.Link(), lane.Dialog(), system, entry);
        NoteEnd(outcome);
        return outcome;
    }

    ControllerTable ListedNow() const {
        const std::lock_guard lock(mutex_);
        return listed_;
    }

    // A controller that its run's final search listed is listed where that search found it
    // from now on, whether the run was judged done or not.
    void NoteEnd(const BatchOutcome& outcome) {
        if (outcome.unlistedAtStart || outcome.verdict == WebEnableVerdict::Stopped ||
            outcome.verdict == WebEnableVerdict::NotListedAfter) {
            return;
        }
        const std::lock_guard lock(mutex_);
        for (ControllerRecord& record : std::span(listed_.records).first(listed_.count)) {
            if (record.serial == outcome.serial) record.ip = outcome.address;
        }
    }

    const BatchLaneMaker& makeLane_;
    const WebEnableSystem& system_;
    const std::vector<BatchEntry>& entries_;
    std::vector<std::size_t> toRun_;  // positions in entries_ of those to run, in order
    std::vector<BatchOutcome> outcomes_;  // one per entry; each run writes its own
    AddressClaims claims_;
    mutable std::mutex mutex_;
    ControllerTable listed_;  // guarded by mutex_
};

}  // namespace

std::vector<BatchEntry> PlanWebEnableBatch(const ControllerTable& table,
                                           const BatchChoice& choice, const ArpRequest& arp,
                                           const std::vector<Ipv4Address>& pcAddresses,
                                           std::size_t parallelArp) {
    WebEnablePlanner planner(table, WithPresentAddressesAsked(table, choice, arp, parallelArp),
                             pcAddresses, parallelArp);
    std::vector<BatchEntry> entries;
    for (std::size_t row = 0; row < table.count; ++row) {
        const ControllerRecord& record = table.records[row];
        BatchEntry entry;
        if (Chosen(choice, record.serial)) {
            entry.plan = planner.Plan(row);
            entry.leftOut = choice.onlyUnreachable && !entry.plan.Unreachable();
        } else {
            entry.leftOut = true;
            entry.plan = ListedValues(record);
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<BatchOutcome> RunWebEnableBatch(
    const ControllerTable& listed, const BatchLaneMaker& makeLane, const WebEnableSystem& system,
    const std::vector<BatchEntry>& entries, const BatchPace& pace,
    const std::function<void(const BatchOutcome&, const SideBySideProgress&)>& finished) {
    return BatchRun(listed, makeLane, system, entries).Run(pace, finished);
}

}  // namespace lumaro
