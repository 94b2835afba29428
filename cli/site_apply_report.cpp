#include "cli/site_apply_report.h"

#include <algorithm>

#include "link/controller_text.h"

namespace lumaro {

namespace {

std::string Change(const std::string& from, const std::string& to) {
    return from == to ? to : from + " -> " + to;
}

const char* ActionName(SiteAction action) {
    switch (action) {
        case SiteAction::AsPlanned: return "as planned";
        case SiteAction::Write: return "write";
        case SiteAction::NotListed: return "not listed";
        case SiteAction::LeftAlone: return "left alone";
    }
    return "";
}

FieldValue RowOf(const SitePlan& file, const SiteEntry& entry) {
    if (!entry.planRow) return {};
    return std::uint64_t{file.rows[*entry.planRow].fileRow};
}

// A planned value beside the listed one; for a controller not listed, the planned value
// alone (blank when the plan leaves it).
std::string AddressCell(const SiteEntry& entry, Ipv4Address ControllerRecord::*listed,
                        Ipv4Address planned, bool plannedGiven) {
    if (!entry.listed) return plannedGiven ? FormatAddress(planned) : "";
    return Change(FormatAddress((*entry.listed).*listed), FormatAddress(planned));
}

void Join(std::string& text, const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += "; ";
    text += part;
}

std::string NoteText(const SiteEntry& entry, SiteNote note) {
    switch (note) {
        case SiteNote::OutsidePcSubnets:
            return FormatAddress(entry.target.ip) +
                   " is in no subnet of this PC's: not asked by ARP, and reached from here only "
                   "through a router (the search still finds the controller there)";
        case SiteNote::WebOnByAddressWrite: return "the address write switches the web server on";
        case SiteNote::LeavesDhcp:
            return "it takes its address by DHCP now: the write gives it fixed addresses";
        case SiteNote::GatewayOutsideSubnet:
            return "the gateway " + FormatAddress(entry.target.gateway) +
                   ", left as it is, is not in the new subnet: set the gateway column (0.0.0.0 "
                   "for none)";
    }
    return {};
}

std::string Note(const SiteEntry& entry) {
    std::string note;
    switch (entry.action) {
        case SiteAction::NotListed: return "the search does not list this serial";
        case SiteAction::LeftAlone: return "not in the plan";
        case SiteAction::AsPlanned:
        case SiteAction::Write: break;
    }
    for (SiteNote each : entry.notes) Join(note, NoteText(entry, each));
    if (!entry.waitsFor.empty()) {
        std::string holders;
        for (std::uint32_t serial : entry.waitsFor) {
            holders += (holders.empty() ? "" : ", ") + FormatSerial(serial);
        }
        Join(note, "written once " + holders + " " + (entry.waitsFor.size() == 1 ? "has" : "have") +
                       " left " + FormatAddress(entry.target.ip));
    }
    if (entry.holdingAddress) {
        Join(note, "in a ring of moves: written to " + FormatAddress(*entry.holdingAddress) +
                       " first, held free for it, and to its planned address last");
    }
    if (entry.switchesWebOff) Join(note, "the web server switched off, the controller restarted");
    return note;
}

std::string Order(const SiteApplyPlan& plan, std::size_t entryIndex) {
    std::string order;
    for (std::size_t step = 0; step < plan.steps.size(); ++step) {
        if (plan.steps[step].entry != entryIndex) continue;
        order += (order.empty() ? "" : " and ") + std::to_string(step + 1);
    }
    return order;
}

std::string Differences(const SiteEntry& entry, const SiteJudgement& judgement) {
    const ControllerRecord& after = *judgement.after;
    std::string text;
    const auto differs = [&](bool differ, const char* what, const std::string& listed,
                             const std::string& planned) {
        if (differ) Join(text, std::string(what) + " " + listed + " (planned " + planned + ")");
    };
    differs(judgement.differences.ip, "address", FormatAddress(after.ip), FormatAddress(entry.target.ip));
    differs(judgement.differences.mask, "mask", FormatAddress(after.mask), FormatAddress(entry.target.mask));
    differs(judgement.differences.gateway, "gateway", FormatAddress(after.gateway),
            FormatAddress(entry.target.gateway));
    differs(judgement.differences.web, "web", WebWord(WebServerEnabled(after.webPort)),
            WebWord(entry.target.web));
    return "the final search lists it with " + text;
}

std::string Changes(const SiteEntry& entry) {
    const ControllerRecord& before = *entry.listed;
    std::string text;
    const auto change = [&](const char* what, const std::string& from, const std::string& to) {
        if (from != to) Join(text, std::string(what) + " " + from + " -> " + to);
    };
    change("address", FormatAddress(before.ip), FormatAddress(entry.target.ip));
    change("mask", FormatAddress(before.mask), FormatAddress(entry.target.mask));
    change("gateway", FormatAddress(before.gateway), FormatAddress(entry.target.gateway));
    change("web", WebWord(WebServerEnabled(before.webPort)), WebWord(entry.target.web));
    return text;
}

}  // namespace

const char* WebWord(bool on) { return on ? "on" : "off"; }

RecordTable SitePlanRecords(const SitePlan& file, const SiteApplyPlan& plan) {
    RecordTable records{{"serial", "row", "action", "ip", "mask", "gateway", "web", "order", "note"}, {}};
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const SiteEntry& entry = plan.entries[i];
        const SitePlanRow* row = entry.planRow ? &file.rows[*entry.planRow] : nullptr;
        const bool listed = entry.listed.has_value();
        std::string web;
        if (listed) {
            web = Change(WebWord(WebServerEnabled(entry.listed->webPort)), WebWord(entry.target.web));
        } else if (row && row->web) {
            web = WebWord(*row->web);
        }
        records.rows.push_back(
            {std::uint64_t{entry.serial}, RowOf(file, entry), std::string(ActionName(entry.action)),
             TextOrNothing(AddressCell(entry, &ControllerRecord::ip, entry.target.ip, row && row->ip)),
             TextOrNothing(AddressCell(entry, &ControllerRecord::mask, entry.target.mask, row && row->mask)),
             TextOrNothing(AddressCell(entry, &ControllerRecord::gateway, entry.target.gateway,
                                       row && row->gateway)),
             TextOrNothing(web), TextOrNothing(Order(plan, i)), TextOrNothing(Note(entry))});
    }
    return records;
}

std::string SiteProgressLine(const SiteStepEnd& end, const SideBySideProgress& progress) {
    std::string line = "[";
    line += std::to_string(progress.done) + " done, " + std::to_string(progress.running) +
            " running, " + std::to_string(progress.left) + " left] controller " +
            FormatSerial(end.entry.serial) + ": ";
    const SiteWriteOutcome& outcome = end.outcome;
    switch (outcome.end) {
        case SiteWriteEnd::HolderStayed:
            return line + "not written: " + FormatSerial(*outcome.blockedBy) + " did not leave " +
                   FormatAddress(end.entry.target.ip);
        case SiteWriteEnd::Gone: return line + "not written: no longer listed";
        case SiteWriteEnd::NotWritten:
        case SiteWriteEnd::Written: break;
    }
    // A ring's last write starts from the address held for it.
    const Ipv4Address from = end.entry.holdingAddress && !end.step.toHoldingAddress
                                 ? *end.entry.holdingAddress
                                 : end.entry.listed->ip;
    if (!outcome.listedAfter) {
        return line + "written" + (outcome.answered ? "" : " without an answer") +
               ", and the search after it does not list it";
    }
    const ControllerRecord& now = *outcome.listedAfter;
    if (end.step.toHoldingAddress) {
        line += now.ip == *end.entry.holdingAddress
                    ? "held at " + FormatAddress(now.ip) + " for now"
                    : "not at " + FormatAddress(*end.entry.holdingAddress) + ", still listed at " +
                          FormatAddress(now.ip);
    } else {
        line += (from == now.ip ? "at " + FormatAddress(now.ip)
                                : FormatAddress(from) + " -> " + FormatAddress(now.ip)) +
                ", web " + WebWord(WebServerEnabled(now.webPort));
        if (outcome.clockSet) line += *outcome.clockSet ? ", clock set" : ", clock not set";
    }
    if (!outcome.answered) line += " (some frames got no answer)";
    return line;
}

const char* VerdictName(SiteVerdict verdict) {
    switch (verdict) {
        case SiteVerdict::AsPlanned: return "as planned";
        case SiteVerdict::Changed: return "changed";
        case SiteVerdict::Failed: return "failed";
        case SiteVerdict::NotListed: return "not listed";
        case SiteVerdict::LeftAlone: return "left alone";
    }
    return "";
}

std::string VerdictReason(const SiteEntry& entry, const SiteWriteOutcome& written,
                          const SiteJudgement& judgement) {
    switch (judgement.verdict) {
        case SiteVerdict::AsPlanned: return {};
        case SiteVerdict::Changed: return Changes(entry);
        case SiteVerdict::NotListed: return "the search does not list this serial";
        case SiteVerdict::LeftAlone: return "not in the plan";
        case SiteVerdict::Failed: break;
    }
    switch (judgement.failure) {
        case SiteFailure::HolderStayed:
            return "not written: controller " + FormatSerial(*written.blockedBy) +
                   " did not leave " + FormatAddress(entry.target.ip);
        case SiteFailure::Gone: return "not written: no longer listed when its turn came";
        case SiteFailure::NotListedAfter:
            return std::string("the final search does not list it") +
                   (written.end == SiteWriteEnd::Written && !written.answered
                        ? " (it did not answer its writes)"
                        : "");
        case SiteFailure::Silent:
            return "it did not answer its writes; " + Differences(entry, judgement);
        case SiteFailure::NotAsPlanned:
        case SiteFailure::None: break;
    }
    return Differences(entry, judgement);
}

RecordTable SiteSummaryRecords(const SitePlan& file, const SiteApplyPlan& plan,
                               const std::vector<SiteWriteOutcome>& writes,
                               const std::vector<SiteJudgement>& judgements) {
    RecordTable records{{"serial", "row", "verdict", "ip", "mask", "gateway", "web", "reason"}, {}};
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const SiteEntry& entry = plan.entries[i];
        const SiteJudgement& judgement = judgements[i];
        const auto after = [&](Ipv4Address ControllerRecord::*field) -> FieldValue {
            if (!judgement.after) return {};
            return FormatAddress((*judgement.after).*field);
        };
        records.rows.push_back(
            {std::uint64_t{entry.serial}, RowOf(file, entry),
             std::string(VerdictName(judgement.verdict)), after(&ControllerRecord::ip),
             after(&ControllerRecord::mask), after(&ControllerRecord::gateway),
             judgement.after ? FieldValue{std::string(WebWord(WebServerEnabled(judgement.after->webPort)))}
                             : FieldValue{},
             TextOrNothing(VerdictReason(entry, writes[i], judgement))});
    }
    return records;
}

}  // namespace lumaro
